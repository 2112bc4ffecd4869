#include "ui/editor/tform2.h"

#include "core/editor/editorgeometry.h"
#include "core/editor/editorstrings.h"
#include "ui/editor/editorwidgets.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
namespace S = EditorStrings;

namespace {

QLineEdit *hiddenField(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->hide();
    return edit;
}

QGroupBox *toolGroup(const QString &name, QWidget *parent)
{
    auto *group = new QGroupBox(parent);
    group->setObjectName(name);
    group->setFlat(true);
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(1, 1, 1, 1);
    grid->setSpacing(1);
    return group;
}

} // namespace

TForm2::TForm2(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(S::WindowCaption);
    resize(926, 715);

    chooseSavePath = [this](const QString &folder, const QString &proposed) {
        QFileDialog dialog(this, S::SaveAs, folder, S::SaveFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(S::SaveDefaultSuffix);
        // The question before replacing another page is ours (it knows the open page).
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.selectFile(proposed.isEmpty() ? S::SaveDefaultName : proposed);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                       : QString();
    };
    confirm = [this](const QString &question) {
        return QMessageBox::question(this, S::WindowCaption, question) == QMessageBox::Yes;
    };
    confirmDrop = [this](const QString &question) {
        return QMessageBox::question(this, S::WindowCaption, question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No)
            == QMessageBox::Yes;
    };
    askChangedPage = [this](const QString &question) {
        QMessageBox box(QMessageBox::Warning, S::WindowCaption, question, QMessageBox::NoButton, this);
        QPushButton *saveAs = box.addButton(S::SaveAs, QMessageBox::AcceptRole);
        QPushButton *reload = box.addButton(S::ReloadPage, QMessageBox::DestructiveRole);
        QPushButton *overwrite = box.addButton(S::SaveOver, QMessageBox::DestructiveRole);
        QPushButton *cancel = box.addButton(S::CancelSave, QMessageBox::RejectRole);
        box.setDefaultButton(saveAs);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == saveAs)
            return ChangedPageChoice::SaveAs;
        if (box.clickedButton() == reload)
            return ChangedPageChoice::Reload;
        if (box.clickedButton() == overwrite)
            return ChangedPageChoice::Overwrite;
        return ChangedPageChoice::Cancel;
    };
    warn = [this](const QString &message) { QMessageBox::warning(this, S::WindowCaption, message); };

    // The tool column runs the full height beside the top bar and the editing
    // area, so that the save buttons stay in reach while the source fills the rest.
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *left = new QWidget(this);
    left->setObjectName(u"EditColumn"_s);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    buildTopBar();
    buildEditArea();
    buildToolColumn();
    leftLayout->addWidget(Panel1);
    leftLayout->addWidget(EditArea, 1);
    outer->addWidget(left, 1);
    outer->addWidget(Panel8);

    // Fields the page keeps but the user does not see.
    ETAGH1 = hiddenField(u"ETAGH1"_s, this);
    ETAGH2 = hiddenField(u"ETAGH2"_s, this);
    ETAGHYO1 = hiddenField(u"ETAGHYO1"_s, this);
    ETAGP1 = hiddenField(u"ETAGP1"_s, this);
    ETAGSRC1 = hiddenField(u"ETAGSRC1"_s, this);
    TAIHI1 = hiddenField(u"TAIHI1"_s, this);
    TAIHI2 = hiddenField(u"TAIHI2"_s, this);
    TAIHI3 = hiddenField(u"TAIHI3"_s, this);
    TAIHI4 = hiddenField(u"TAIHI4"_s, this);
    TAIHI5 = hiddenField(u"TAIHI5"_s, this);
    Label5 = new QLabel(this);
    Label5->setObjectName(u"Label5"_s);
    Label5->hide();
    Label3 = new QLabel(this);
    Label3->setObjectName(u"Label3"_s);
    Label3->hide();

    connectFormatting();
    connectPictures();
}

TForm2::~TForm2() = default;

SpeedButton *TForm2::speedButton(int number) const
{
    const QString name = u"SpeedButton"_s + QString::number(number);
    for (SpeedButton *button : SpeedButtons) {
        if (button->objectName() == name)
            return button;
    }
    return nullptr;
}

void TForm2::buildTopBar()
{
    Panel1 = new EditorPanel(u"Panel1"_s, this);
    Panel1->setFixedHeight(26);
    auto *column = new QVBoxLayout(Panel1);
    column->setContentsMargins(2, 0, 2, 0);
    column->setSpacing(0);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(4);
    auto addField = [&](const QString &label, const QString &name, const QString &hint, int stretch) {
        bar->addWidget(new QLabel(label, Panel1));
        auto *edit = new QLineEdit(Panel1);
        edit->setObjectName(name);
        edit->setToolTip(hint);
        bar->addWidget(edit, stretch);
        return edit;
    };
    Edit1 = addField(S::TitleLabel, u"Edit1"_s, S::TitleHint, 3);
    Edit5 = addField(S::SecondLineLabel, u"Edit5"_s, S::SecondLineHint, 2);
    Edit6 = addField(S::HintLabel, u"Edit6"_s, S::HintHint, 2);
    for (auto [number, caption] : {std::pair{35, S::SizeA4}, std::pair{36, S::SizeB4}, std::pair{38, S::SizeFit}}) {
        auto *button = new SpeedButton(u"SpeedButton"_s + QString::number(number), caption, caption, Panel1);
        button->setMarked(true);
        SpeedButtons << button;
        bar->addWidget(button);
    }
    connect(speedButton(35), &QToolButton::clicked, this, &TForm2::Button2Click);
    connect(speedButton(36), &QToolButton::clicked, this, &TForm2::Button1Click);
    connect(speedButton(38), &QToolButton::clicked, this, &TForm2::SpeedButton38Click);

    Panel18 = new EditorPanel(u"Panel18"_s, Panel1);
    auto *toggleLayout = new QHBoxLayout(Panel18);
    toggleLayout->setContentsMargins(0, 0, 0, 0);
    auto *toggle = new SpeedButton(u"SpeedButton28"_s, S::SourceEditHint, S::SourceEditHint, Panel18);
    SpeedButtons << toggle;
    toggleLayout->addWidget(toggle);
    connect(toggle, &QToolButton::clicked, this, &TForm2::SpeedButton28Click);
    bar->addWidget(Panel18);
    column->addLayout(bar);

    Panel17 = new EditorPanel(u"Panel17"_s, Panel1);
    auto *sourceLayout = new QVBoxLayout(Panel17);
    sourceLayout->setContentsMargins(0, 0, 0, 0);
    Memo82 = new QPlainTextEdit(Panel17);
    Memo82->setObjectName(u"Memo82"_s);
    Memo82->setLineWrapMode(QPlainTextEdit::NoWrap);
    sourceLayout->addWidget(Memo82);
    Panel17->hide();
    column->addWidget(Panel17, 1);
}

void TForm2::buildToolColumn()
{
    Panel8 = new EditorPanel(u"Panel8"_s, this);
    Panel8->setFixedWidth(ToolColumnWidth);
    QFont small = Panel8->font();
    small.setPointSize(8);
    Panel8->setFont(small);
    auto *column = new QVBoxLayout(Panel8);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);

    auto addButtons = [this](QGroupBox *group, std::initializer_list<std::tuple<int, QString, QString>> buttons,
                             int perRow) {
        auto *grid = static_cast<QGridLayout *>(group->layout());
        int index = 0;
        for (const auto &[number, caption, hint] : buttons) {
            auto *button = new SpeedButton(u"SpeedButton"_s + QString::number(number), caption, hint, group);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            SpeedButtons << button;
            grid->addWidget(button, index / perRow, index % perRow);
            ++index;
        }
    };

    GroupBox5 = toolGroup(u"GroupBox5"_s, Panel8);
    addButtons(GroupBox5,
               {{4, u"左"_s, S::AlignLeftHint}, {5, u"中"_s, S::AlignCentreHint}, {6, u"右"_s, S::AlignRightHint},
                {7, u"左"_s, S::AlignLeftHint}, {8, u"中"_s, S::AlignCentreHint}, {9, u"右"_s, S::AlignRightHint},
                {19, u"枠左"_s, S::BoxLeftHint}, {20, u"枠中"_s, S::BoxCentreHint}, {21, u"枠右"_s, S::BoxRightHint}},
               3);
    column->addWidget(GroupBox5);

    GroupBox1 = toolGroup(u"GroupBox1"_s, Panel8);
    addButtons(GroupBox1,
               {{15, S::StyleNote, S::StyleNote.trimmed()}, {14, S::StylePresentation, S::StylePresentation},
                {18, S::StyleItem, S::StyleItem}, {13, S::StyleCover, S::StyleCover.trimmed()}},
               2);
    column->addWidget(GroupBox1);

    GroupBox4 = toolGroup(u"GroupBox4"_s, Panel8);
    addButtons(GroupBox4,
               {{24, u"赤"_s, S::RedHint}, {26, u"青"_s, S::BlueHint}, {25, u"下線"_s, S::UnderlineHint},
                {32, u"太"_s, S::BoldHint}, {33, u"大"_s, S::BiggerHint}, {30, u"下付"_s, S::SubscriptHint},
                {29, u"上付"_s, S::SuperscriptHint}, {31, u"ルビ"_s, S::RubyHint}, {34, u"画像"_s, S::InsertPictureHint}},
               3);
    {
        auto *grid = static_cast<QGridLayout *>(GroupBox4->layout());
        auto *link = new SpeedButton(u"SpeedButton16"_s, S::InsertLink, S::InsertLink, GroupBox4);
        SpeedButtons << link;
        grid->addWidget(link, 3, 0, 1, 3);
    }
    column->addWidget(GroupBox4);

    GroupBox6 = toolGroup(u"GroupBox6"_s, Panel8);
    addButtons(GroupBox6,
               {{10, u"左画"_s, S::LayoutLeftHint}, {11, u"中画"_s, S::LayoutCentreHint},
                {12, u"右画"_s, S::LayoutRightHint}, {3, u"文字"_s, S::LayoutTextHint}, {23, u"表"_s, S::LayoutTableHint}},
               3);
    column->addWidget(GroupBox6);
    connect(speedButton(10), &QToolButton::clicked, this, &TForm2::SpeedButton10Click);
    connect(speedButton(11), &QToolButton::clicked, this, &TForm2::SpeedButton11Click);
    connect(speedButton(12), &QToolButton::clicked, this, &TForm2::SpeedButton12Click);
    connect(speedButton(3), &SpeedButton::mouseUp, this, &TForm2::SpeedButton3MouseUp);
    connect(speedButton(23), &SpeedButton::mouseUp, this, &TForm2::SpeedButton23MouseUp);

    GroupBox3 = toolGroup(u"GroupBox3"_s, Panel8);
    addButtons(GroupBox3,
               {{1, u"読込"_s, S::PictureLoadHint}, {2, u"修正"_s, S::PictureEditHint},
                {37, u"リンク"_s, S::PictureLinkHint}},
               3);
    {
        auto *grid = static_cast<QGridLayout *>(GroupBox3->layout());
        auto *header = new SpeedButton(u"SpeedButton27"_s, S::HeaderPicture, S::HeaderPictureHint, GroupBox3);
        auto *background = new SpeedButton(u"SpeedButton40"_s, S::Background, S::BackgroundHint, GroupBox3);
        SpeedButtons << header << background;
        // "TOP画像の挿入" needs the column's whole width to be read.
        grid->addWidget(header, 1, 0, 1, 3);
        grid->addWidget(background, 2, 2);
        auto *sizes = new QHBoxLayout;
        sizes->setSpacing(1);
        sizes->addWidget(new QLabel(S::WidthLabel, GroupBox3));
        GX = new QLineEdit(GroupBox3);
        GX->setObjectName(u"GX"_s);
        sizes->addWidget(GX);
        sizes->addWidget(new QLabel(S::HeightLabel, GroupBox3));
        GY = new QLineEdit(GroupBox3);
        GY->setObjectName(u"GY"_s);
        sizes->addWidget(GY);
        grid->addLayout(sizes, 3, 0, 1, 3);
        ScrollBar1 = new QScrollBar(Qt::Horizontal, GroupBox3);
        ScrollBar1->setObjectName(u"ScrollBar1"_s);
        ScrollBar1->setRange(16, MaxWindowWidth);
        grid->addWidget(ScrollBar1, 4, 0, 1, 3);
    }
    column->addWidget(GroupBox3);

    GroupBox2 = toolGroup(u"GroupBox2"_s, Panel8);
    {
        auto *grid = static_cast<QGridLayout *>(GroupBox2->layout());
        CheckBox1 = new QCheckBox(S::QuizBox, GroupBox2);
        CheckBox1->setObjectName(u"CheckBox1"_s);
        CheckBox2 = new QCheckBox(S::AnswerBox, GroupBox2);
        CheckBox2->setObjectName(u"CheckBox2"_s);
        Label6 = new QLabel(S::QuizReminder, GroupBox2);
        Label6->setObjectName(u"Label6"_s);
        Label6->setStyleSheet(u"color: grey"_s);
        Label6->setWordWrap(true); // the narrow tool column shows the whole reminder
        grid->addWidget(CheckBox1, 0, 0);
        grid->addWidget(CheckBox2, 1, 0);
        grid->addWidget(Label6, 2, 0);
    }
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm2::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm2::CheckBox2Click);
    column->addWidget(GroupBox2);

    auto *tools = new QWidget(Panel8);
    tools->setObjectName(u"ToolRow"_s);
    auto *toolLayout = new QHBoxLayout(tools);
    toolLayout->setContentsMargins(0, 0, 0, 0);
    toolLayout->setSpacing(1);
    for (auto [number, caption, hint] : {std::tuple{41, u"日付"_s, S::TodayHint},
                                         std::tuple{39, u"初期化"_s, S::InitialiseHint},
                                         std::tuple{22, u"覚書"_s, S::EditNotesHint}}) {
        auto *button = new SpeedButton(u"SpeedButton"_s + QString::number(number), caption, hint, tools);
        button->setMarked(true);
        SpeedButtons << button;
        toolLayout->addWidget(button);
    }
    connect(speedButton(41), &QToolButton::clicked, this, &TForm2::SpeedButton41Click);
    connect(speedButton(39), &QToolButton::clicked, this, &TForm2::SpeedButton39Click);
    connect(speedButton(22), &QToolButton::clicked, this, &TForm2::SpeedButton22Click);
    column->addWidget(tools);
    column->addStretch(1);

    auto addClose = [&](const QString &name, const QString &caption, const QString &hint) {
        auto *button = new QPushButton(caption, Panel8);
        button->setObjectName(name);
        button->setToolTip(hint);
        button->setAutoDefault(false);
        column->addWidget(button);
        return button;
    };
    BitBtn4 = addClose(u"BitBtn4"_s, S::SaveOver, S::SaveOverHint);
    BitBtn1 = addClose(u"BitBtn1"_s, S::SaveAs, S::SaveAsHint);
    BitBtn2 = addClose(u"BitBtn2"_s, S::CloseEditor, S::CloseEditorHint);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm2::BitBtn4Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm2::BitBtn2Click);
}

void TForm2::buildEditArea()
{
    EditArea = new QWidget(this);
    EditArea->setObjectName(u"EditArea"_s);
    auto *column = new QVBoxLayout(EditArea);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Heading area: H1 and H2 above the colour bar, the framed text below.
    Panel7 = new EditorPanel(u"Panel7"_s, EditArea);
    Panel11 = new EditorPanel(u"Panel11"_s, Panel7);
    Memo4 = new EditorMemo(u"Memo4"_s, Panel11);
    Memo4->setToolTip(S::HeadingHint);
    Memo5 = new EditorMemo(u"Memo5"_s, Panel11);
    Memo5->setToolTip(S::SubheadingHint);
    Panel10 = new EditorPanel(u"Panel10"_s, Panel11);
    Panel10->setAutoFillBackground(true);
    Panel10->setStyleSheet(u"background-color: #008080"_s);
    Panel12 = new EditorPanel(u"Panel12"_s, Panel7);
    Memo1 = new EditorMemo(u"Memo1"_s, Panel12);
    Memo1->setToolTip(S::FramedTextHint);
    Memo1->setFrameShape(QFrame::Box);
    connect(Panel7, &EditorPanel::resized, this, &TForm2::arrangeHeading);
    connect(Panel12, &EditorPanel::resized, this, &TForm2::Panel12Resize);
    connect(Memo4, &QTextEdit::textChanged, this, &TForm2::Memo4Change);
    connect(Memo5, &QTextEdit::textChanged, this, &TForm2::Memo5Change);
    connect(Memo1, &QTextEdit::textChanged, this, &TForm2::Memo1Change);
    column->addWidget(Panel7);

    // Body area: picture column, text area and the table grid over it.
    Panel3 = new EditorPanel(u"Panel3"_s, EditArea);
    Panel3->setAutoFillBackground(true);
    QPalette navy = Panel3->palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    Panel3->setPalette(navy);
    Panel6 = new EditorPanel(u"Panel6"_s, Panel3);
    PanelImage1 = new EditorPanel(u"PanelImage1"_s, Panel6);
    PanelImage1->setFrameShape(QFrame::Box);
    Image1 = new QLabel(PanelImage1);
    Image1->setObjectName(u"Image1"_s);
    Gname = new QLabel(PanelImage1);
    Gname->setObjectName(u"Gname"_s);
    Gname->setToolTip(S::PictureNameHint);
    Gname->setStyleSheet(u"background-color: white"_s);
    connect(PanelImage1, &EditorPanel::resized, this, [this] {
        Image1->setGeometry(PanelImage1->contentsRect());
        paintPreview();
        Gname->move(2, 2);
        Gname->adjustSize();
    });
    Panel4 = new EditorPanel(u"Panel4"_s, Panel3);
    Memo2 = new EditorMemo(u"Memo2"_s, Panel4);
    Memo2->setToolTip(S::TextHint);
    auto *textLayout = new QVBoxLayout(Panel4);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->addWidget(Memo2);
    Panel16 = new EditorPanel(u"Panel16"_s, Panel3);
    for (int i = 0; i < EditorGeometry::GridCellCount; ++i) {
        const int number = i == 0 ? 3 : i + 5;
        auto *cell = new EditorMemo(u"Memo"_s + QString::number(number), Panel16);
        cell->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A cell is one line high: the large type of the page styles needs all of it.
        cell->document()->setDocumentMargin(0);
        if (i < 8)
            cell->setStyleSheet(u"background-color: #a6caf0"_s);
        GridCells << cell;
    }
    Panel16->hide();
    Panel6->hide();
    connect(Panel16, &EditorPanel::resized, this, &TForm2::Panel16Resize);
    connect(Panel3, &EditorPanel::resized, this, &TForm2::arrangeBody);
    column->addWidget(Panel3, 1);

    // Link bar.
    Panel9 = new EditorPanel(u"Panel9"_s, EditArea);
    Panel9->setFixedHeight(20);
    auto *linkBar = new QHBoxLayout(Panel9);
    linkBar->setContentsMargins(0, 0, 0, 0);
    linkBar->setSpacing(2);
    // The link button's frame is drawn raised on quiz pages.
    Panel19 = new EditorPanel(u"Panel19"_s, Panel9);
    auto *frameLayout = new QHBoxLayout(Panel19);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    auto *linkButton = new SpeedButton(u"SpeedButton17"_s, S::PictureLink, S::PictureLinkHint, Panel19);
    linkButton->setMarked(true);
    SpeedButtons << linkButton;
    frameLayout->addWidget(linkButton);
    linkBar->addWidget(Panel19);
    Edit2 = new QLineEdit(Panel9);
    Edit2->setObjectName(u"Edit2"_s);
    Edit2->setToolTip(S::LinkTargetHint);
    linkBar->addWidget(Edit2, 1);
    Edit3 = hiddenField(u"Edit3"_s, Panel9);
    Edit3->setToolTip(S::LinkTextHint);
    Edit7 = hiddenField(u"Edit7"_s, Panel9);
    column->addWidget(Panel9);
}
