#pragma once

#include <QDateTime>
#include "core/editor/formatting.h"
#include "core/editor/pagemodel.h"
#include "core/editor/pagesave.h"
#include "core/editor/picturebackup.h"

#include <QDialog>
#include <QImage>
#include <QList>

#include <functional>

class EditorMemo;
class EditorPanel;
class SpeedButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class Platform;
class RubyDialog;
class TForm12;
class TForm15;

// The page editor "Kavunoエディター": one page of the page model edited as a form.
// The caller puts the page's path in the caption and its HTML in Memo82 and
// shows the window modally; the save buttons end it with Accepted, "閉じる"
// with Rejected. The window is made once and reused for every page.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

    // Width of the tool column on the right; the Fit page width leaves it out.
    static constexpr int ToolColumnWidth = 112;
    // Height of the colour bar under the H2.
    static constexpr int BarHeight = 4;

    // The caption holds the path of the page being edited.
    QString caption() const { return windowTitle(); }
    void setCaption(const QString &path) { setWindowTitle(path); }
    // Puts the page into the caption and the source before the window is shown:
    // read is what the file held when pageText was read from it, which a save
    // of the page checks the file against.
    void openPage(const QString &path, const QString &pageText, const PageSnapshot &read);

    // --- regions ---
    EditorPanel *Panel1 = nullptr;  // top bar
    EditorPanel *Panel17 = nullptr; // source memo, shown only in source mode
    EditorPanel *Panel18 = nullptr; // holds the source toggle
    EditorPanel *Panel8 = nullptr;  // tool column
    EditorPanel *Panel7 = nullptr;  // heading area
    EditorPanel *Panel11 = nullptr; // H1 and H2
    EditorPanel *Panel10 = nullptr; // colour bar under the H2
    EditorPanel *Panel12 = nullptr; // framed text
    EditorPanel *Panel3 = nullptr;  // body area
    EditorPanel *Panel6 = nullptr;  // picture column
    EditorPanel *PanelImage1 = nullptr;
    EditorPanel *Panel4 = nullptr;  // text area
    EditorPanel *Panel16 = nullptr; // table grid
    EditorPanel *Panel9 = nullptr;  // link bar
    EditorPanel *Panel19 = nullptr; // frame of the picture-link button
    QWidget *EditArea = nullptr;    // everything below the top bar and left of the tools

    // --- fields ---
    QPlainTextEdit *Memo82 = nullptr; // the page's HTML
    QLineEdit *Edit1 = nullptr;       // title
    QLineEdit *Edit5 = nullptr;       // second title line
    QLineEdit *Edit6 = nullptr;       // button hint
    EditorMemo *Memo4 = nullptr;      // H1
    EditorMemo *Memo5 = nullptr;      // H2
    EditorMemo *Memo1 = nullptr;      // framed text: the table's first row
    EditorMemo *Memo2 = nullptr;      // text paragraph
    QList<EditorMemo *> GridCells;    // Memo3, Memo6 .. Memo81
    QLineEdit *ETAGH1 = nullptr;
    QLineEdit *ETAGH2 = nullptr;
    QLineEdit *ETAGHYO1 = nullptr;
    QLineEdit *ETAGP1 = nullptr;
    QLineEdit *ETAGSRC1 = nullptr;
    QLineEdit *Edit7 = nullptr;       // IMG tag
    QLineEdit *Edit2 = nullptr;       // link target
    QLineEdit *Edit3 = nullptr;       // link text
    QLineEdit *TAIHI1 = nullptr;      // picture paragraph parked while a layout has no picture
    QLineEdit *TAIHI2 = nullptr;
    QLineEdit *TAIHI3 = nullptr;
    QLineEdit *TAIHI4 = nullptr;
    QLineEdit *TAIHI5 = nullptr;
    QLabel *Gname = nullptr;          // picture file name
    QLineEdit *GX = nullptr;
    QLineEdit *GY = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QLabel *Image1 = nullptr;         // preview, scaled to its frame
    QCheckBox *CheckBox1 = nullptr;   // quiz page
    QCheckBox *CheckBox2 = nullptr;   // answer button
    QLabel *Label5 = nullptr;         // path the fields were read from
    QLabel *Label3 = nullptr;         // archive name of a daily report
    QLabel *Label6 = nullptr;         // quiz notation reminder

    // --- groups and buttons ---
    QGroupBox *GroupBox5 = nullptr; // alignment
    QGroupBox *GroupBox1 = nullptr; // style
    QGroupBox *GroupBox4 = nullptr; // inline markup
    QGroupBox *GroupBox6 = nullptr; // layout
    QGroupBox *GroupBox3 = nullptr; // picture
    QGroupBox *GroupBox2 = nullptr; // quiz
    QList<SpeedButton *> SpeedButtons; // every speed button, for lookup by number
    SpeedButton *speedButton(int number) const;
    QPushButton *BitBtn4 = nullptr; // 上書き保存
    QPushButton *BitBtn1 = nullptr; // 名付けて保存
    QPushButton *BitBtn2 = nullptr; // 閉じる

    // --- flags kept beside the controls ---
    int layoutFlag = 0;      // 0 text or table, 1 picture centred, 2 left, 3 right
    bool sizeFixed = false;  // GX/GY hold the size to keep
    bool picturePresent = false;
    int tableFlag = 0;       // above 0 when the page read had a table
    int styleNumber = 0;     // 0 (none) to 4
    bool sourceMode = false;
    bool editorOpen = false;
    bool titlePresent = false; // title or heading holds text
    double PictureAspect = 0.0;
    int PageWidth = 906;
    int MaxWindowWidth = 1265;

    // The note pad the folder's editing notes open in. The editor makes its own
    // as its child: a window outside the modal editor would take no input.
    TForm12 *noteWindow = nullptr;

    // What the user may do when the page changed on disk since the editor read it.
    enum class ChangedPageChoice { SaveAs, Reload, Overwrite, Cancel };

    // What tests may replace: the clock, the save dialog, the question before
    // replacing another page, the question about a page changed meanwhile and
    // the message of a failed write.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::function<QString(const QString &folder, const QString &proposed)> chooseSavePath;
    std::function<bool(const QString &question)> confirm;
    // The question before an edit is dropped: true to drop it. Its default, what
    // Enter answers, is to go back to the edit.
    std::function<bool(const QString &question)> confirmDrop;
    std::function<ChangedPageChoice(const QString &question)> askChangedPage;
    std::function<void(const QString &message)> warn;
    // How long a save waits for another computer's post into the page.
    int LockTimeoutMs = 5000;
    // Told after every read of a page: titles may have changed.
    std::function<void()> pageRead;

    // The desktop (trash, paint program, the shell's open, copies); the system's
    // when none is set. The link dialog is the program's one TForm15.
    Platform *platform = nullptr;
    TForm15 *Form15 = nullptr;
    RubyDialog *rubyDialog = nullptr;
    // The picture and link-file dialogs (tests replace them): a path, or "" when cancelled.
    std::function<QString(const QString &folder)> choosePicture;
    std::function<QString(const QString &folder)> chooseLinkFile;

    // --- layouts and picture ---
    void SetLayoutImageLeft();
    void SetLayoutImageCenter();
    void SetLayoutImageRight();
    void SetLayoutTextOnly();
    void SetLayoutTable();
    void LayoutImagePanel(int mode);
    void SaveImageTags();
    void ClearImage();
    void RestoreImageTags();
    void ReloadSavedImage();
    QString DefaultImageName() const;
    // Marks one of the five layout buttons, the others flat.
    void markLayoutButton(SpeedButton *button);
    void LoadImageFile(const QString &path);

    // --- formatting buttons and styles ---
    void SpeedButton4MouseUp() { alignHeading(4); }
    void SpeedButton5MouseUp() { alignHeading(5); }
    void SpeedButton6MouseUp() { alignHeading(6); }
    void SpeedButton7MouseUp() { alignHeading(7); }
    void SpeedButton8MouseUp() { alignHeading(8); }
    void SpeedButton9MouseUp() { alignHeading(9); }
    void SpeedButton19Click() { alignBox(19); }
    void SpeedButton20Click() { alignBox(20); }
    void SpeedButton21Click() { alignBox(21); }
    void SpeedButton24Click() { wrapSelection(Formatting::Markup::Red); }
    void SpeedButton26Click() { wrapSelection(Formatting::Markup::Blue); }
    void SpeedButton25Click() { wrapSelection(Formatting::Markup::Underline); }
    void SpeedButton32Click() { wrapSelection(Formatting::Markup::Strong); }
    void SpeedButton33Click() { wrapSelection(Formatting::Markup::Bigger); }
    void SpeedButton30Click() { wrapSelection(Formatting::Markup::Subscript); }
    void SpeedButton29Click() { wrapSelection(Formatting::Markup::Superscript); }
    void SpeedButton31Click(); // ruby
    void SpeedButton16Click(); // link
    void SpeedButton34Click(); // inline picture
    void SpeedButton15Click() { chooseStyle(1); }
    void SpeedButton14Click() { chooseStyle(2); }
    void SpeedButton18Click() { chooseStyle(3); }
    void SpeedButton13Click() { chooseStyle(4); }
    void ApplyStylePreview();
    // The memo the markup buttons act on: the first of Memo4, Memo5, Memo1, Memo2
    // holding the focus flag; taken before any dialog opens (a dialog takes the focus).
    EditorMemo *focusedMemo() const;

    // --- pictures ---
    QString MeasureImage(const QString &path) const; // "width,height", "0,0" when unreadable
    bool gomi(const QString &path);                 // to the trash after asking
    void SpeedButton1MouseUp(Qt::MouseButton button);
    void SpeedButton2MouseUp(Qt::MouseButton button);
    void SpeedButton17MouseUp(Qt::MouseButton button);
    void SpeedButton27Click();
    void SpeedButton40Click();
    void Image1DblClick();
    void ScrollBar1Scroll(int position);

    // --- showing and syncing ---
    void FormShow();
    void ApplyTagsToControls();

    // --- event handlers ---
    void CheckBox1Click();
    void CheckBox2Click();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void SpeedButton3MouseUp(Qt::MouseButton button);
    void SpeedButton23MouseUp(Qt::MouseButton button);
    void Panel16Resize();
    void Panel12Resize();
    void Memo4Change();
    void Memo5Change();
    void Memo1Change();
    void FormClose();

    // --- saving, page size and tools ---
    void BitBtn4Click();
    void BitBtn1Click();
    void BitBtn2Click();
    // Escape and the window's own close: an edit is not thrown away unasked.
    void reject() override;
    void Button2Click();  // A4
    void Button1Click();  // B4
    void SpeedButton38Click(); // Fit
    void SpeedButton41Click(); // today's date
    void SpeedButton39Click(); // initialise
    bool SpeedButton28Click(); // source mode; false when the source stays (it cannot go into the fields)
    void SpeedButton22Click(); // folder notes

    // --- the page model ---
    // Reads Memo82 into the fields; a page missing parts reads what is there.
    void LoadPageToFields(const QString &path);
    // Builds the page from the fields into Memo82 (path empty for the source view).
    void BuildPageFromFields(const QString &path);
    // Builds and writes the page; false (and a message) when it could not be written.
    // The page the editor read is written only as it was read, unless the user
    // chooses otherwise when another computer changed it meanwhile.
    bool SavePageFile(const QString &path);

    // The fields shown from a model, and collected into one: the model keeps
    // the pieces of the page that the editor writes back unchanged.
    void showModel(const PageModel &model);
    PageModel collectModel() const;
    PictureBackup pictureBackup() const;

    // The folder of the page being edited; pictures and notes live there.
    QString pageFolder() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void alignHeading(int button);
    void alignBox(int button);
    void wrapSelection(Formatting::Markup markup);
    void chooseStyle(int style);
    void connectFormatting();
    void connectPictures();
    Platform &desktop() const;
    // Refuses (with a message) a name that would break the tag it goes into.
    bool nameFitsTag(const QString &name);
    // A picture chosen with a button: its name fits a tag and it can be read (else told).
    bool pictureUsable(const QString &chosen, const QString &name);
    // Copies a chosen picture to target in the page folder; false (told) when it
    // could not be copied or the user kept another picture of that name.
    bool copyPictureIn(const QString &source, const QString &target);
    // Sets the scroll bar without it counting as the user's scroll.
    void setScrollPosition(int position);
    void placePictureFrame(QSize frame);
    // The preview shows source scaled once to the frame; a null one clears it.
    void setPreview(const QImage &source);
    void paintPreview();
    void buildTopBar();
    void buildToolColumn();
    void buildEditArea();
    void arrangeBody();
    void arrangeHeading();
    void setHeadingAreaHeight(int height);
    void setMemo1Dock(int dock);
    void leaveSourceMode();
    void closeEditNotes();
    void showPictureFields(const PageModel &model, const PictureBackup &backup);
    void setPageSize(int width, const QString &sizeTag);
    // "名付けて保存" after the save dialog: true when the page was written.
    bool saveUnderChosenName();
    // Reads the page file again into the fields, dropping the edit.
    void reloadPage();

    enum Memo1Dock { DockFill, DockLeft, DockNone, DockRight };
    int memo1Dock = DockFill;
    int pictureColumnWidth = 280;  // side layouts
    int pictureColumnHeight = 400; // centred layout
    QImage previewSource;          // the picture shown, no larger than a frame can be
    int memo4Height = 30;
    int memo5Height = 25;
    PageModel page; // the page as read, for the pieces written back unchanged
    // Whether a field differs from what the page showed when read.
    bool edited() const;
    PageModel shownModel;     // the fields as shown after reading
    QString readPath;         // the file the page was read from
    PageSnapshot readSnapshot; // what it held then
};
