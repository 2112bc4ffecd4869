// The page buttons of the right column: building, refreshing, mouse and keys.
#include "ui/app/tform1.h"

#include "core/navigation/pagebuttontext.h"
#include "core/navigation/pagetitle.h"
#include "core/pages/picturefile.h"
#include "ui/app/uitexts.h"
#include "ui/navigation/pagebutton.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The two pictures of the list icon: a plain page and a page with a mark.
static QIcon listPicture(const QWidget *widget, int index)
{
    return widget->style()->standardIcon(index == 0 ? QStyle::SP_FileIcon : QStyle::SP_FileDialogInfoView);
}

// The icon named in a title, from the current folder (a title written on
// Windows may differ in case). A name that would leave the folder, or a file
// that is no picture, gives no file.
static QIcon iconFile(const QString &folder, const QString &name)
{
    const QString path = findFileInFolder(folder, name);
    if (path.isEmpty())
        return {};
    const QPixmap pixmap(path);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

void TForm1::applyButtonTitle(PageButton *button, const QString &title, int index, bool keepHintWithoutOne)
{
    const TitleParts parts = splitTitle(title);
    if (parts.hasHint || !keepHintWithoutOne)
        button->setToolTip(buttonHint(parts, index));
    QString caption = buttonCaption(parts);
    // A button breaks its label at "\n".
    caption.replace(u'\r', u'\n');
    button->setLabel(caption);
    const QIcon file = parts.iconPrefix.isEmpty() ? QIcon() : iconFile(nav.CurDir, parts.iconName);
    switch (buttonIconFor(parts, !file.isNull())) {
    case ButtonIcon::None:
        button->setIcon(QIcon());
        break;
    case ButtonIcon::IconFile:
        button->setIcon(file);
        break;
    case ButtonIcon::ListPicture0:
        button->setIcon(listPicture(this, 0));
        break;
    case ButtonIcon::ListPicture1:
        button->setIcon(listPicture(this, 1));
        break;
    }
}

void TForm1::BuildPageButtons()
{
    // The focused button moves no focus to a neighbour when it is put aside.
    if (QWidget *focus = QApplication::focusWidget(); focus && focus->parentWidget() == pageColumn)
        focus->clearFocus();
    for (PageButton *button : PageButtons.made())
        putButtonAside(button);
    PageButtons.setMaker([this](int i) { return makePageButton(i); });
    PageButtons.reset(nav.PBanSu());
    m_refreshedTitles.clear();
    m_highlightedButton = -1;
    m_currentButton = -1;
    connect(ScrollBox1->verticalScrollBar(), &QScrollBar::valueChanged, this, &TForm1::showButtonsInView,
            Qt::UniqueConnection);
    layoutPageButtons();
}

// A button for page i: one put aside is used again, so that scrolling a long
// column makes no widgets.
PageButton *TForm1::makePageButton(int i)
{
    PageButton *button = m_spareButtons.isEmpty() ? nullptr : m_spareButtons.takeLast();
    if (!button) {
        button = new PageButton(*this, i, pageColumn);
        QFont font(UiTexts::GothicFont, 9);
        font.setStyleHint(QFont::Monospace);
        button->setFont(font);
        button->setToolTipDuration(60000);
    }
    button->Tag = i;
    button->setObjectName(u"PageButton%1"_s.arg(i));
    const QString title = m_refreshedTitles.contains(i) ? m_refreshedTitles.value(i) : nav.title(i);
    applyButtonTitle(button, title, i, false);
    applyButtonState(button);
    placePageButton(button);
    button->show();
    return button;
}

void TForm1::putButtonAside(PageButton *button)
{
    button->hide();
    m_spareButtons << button;
}

// The current page's button stands out in blue (highlighted) and wider (current).
void TForm1::applyButtonState(PageButton *button)
{
    const bool highlighted = button->Tag == m_highlightedButton;
    button->setProperty("current", button->Tag == m_currentButton);
    if (button->property("highlighted").toBool() == highlighted)
        return;
    button->setProperty("highlighted", highlighted);
    button->style()->unpolish(button);
    button->style()->polish(button);
}

void TForm1::placePageButton(PageButton *button)
{
    const int pitch = pageButtonPitch(ScrollBox1->viewport()->height(), PageButtons.size());
    const int width = ScrollBox1->viewport()->width() - 2 * ButtonMargin;
    const bool current = button->property("highlighted").toBool() || button->property("current").toBool();
    button->setGeometry(current ? ButtonMargin - 4 : ButtonMargin, button->Tag * pitch, current ? width - 2 : width,
                        pitch - 1);
}

void TForm1::layoutPageButtons()
{
    const int n = PageButtons.size();
    const int pitch = pageButtonPitch(ScrollBox1->viewport()->height(), n);
    pageColumn->resize(ScrollBox1->viewport()->width(), n * pitch);
    for (PageButton *button : PageButtons.made())
        placePageButton(button);
    showButtonsInView();
}

// Makes the buttons of the rows in view (and a few beyond) and puts aside the
// others, except the focused and the current page's.
void TForm1::showButtonsInView()
{
    const int n = PageButtons.size();
    const int pitch = pageButtonPitch(ScrollBox1->viewport()->height(), n);
    const int top = ScrollBox1->verticalScrollBar()->value();
    const int first = std::max(0, top / pitch - 2);
    const int last = std::min(n - 1, (top + ScrollBox1->viewport()->height()) / pitch + 2);
    for (PageButton *button : PageButtons.made()) {
        const int i = button->Tag;
        if ((i < first || i > last) && !button->hasFocus() && i != nav.PBan()) {
            PageButtons.forget(i);
            putButtonAside(button);
        }
    }
    for (int i = first; i <= last; ++i)
        PageButtons.value(i);
}

// The current page's button stands out in blue; the others are plain. Only the
// buttons that exist are styled, and only those that change.
void TForm1::stylePageButtons(int current)
{
    m_highlightedButton = HighlightCurrent ? current : -1;
    m_currentButton = -1;
    for (PageButton *button : PageButtons.made())
        applyButtonState(button);
    layoutPageButtons();
}

// The current page's button takes the wide geometry whatever HighlightCurrent says.
void TForm1::markCurrentButton(int current)
{
    m_currentButton = current;
    if (PageButton *button = PageButtons.value(current)) {
        applyButtonState(button);
        placePageButton(button);
    }
}

void TForm1::ReMake()
{
    kabeBrowser->show();
    BuildPageButtons();
}

void TForm1::RefreshPageButton(int index)
{
    if (index < 0 || index >= nav.PBanSu() || nav.PBan() < 0)
        return;
    const QString title = refreshedButtonTitle(nav.entryPath(index), nav.title(index));
    if (PageButton *button = PageButtons.value(nav.PBan())) {
        applyButtonTitle(button, title, nav.PBan(), true);
        // A button made again for this page shows the title read now.
        m_refreshedTitles.insert(nav.PBan(), title);
    }
}

void TForm1::PageButtonMouseDown(PageButton *button, bool rightButton, const QPoint &globalPos)
{
    LastLoadedUrl.clear();
    WebBrowser1->stop();
    nav.PBanSave(button->Tag);
    if (rightButton) {
        // Only a page opened here takes the flag down for its one load; the
        // open page's own button leaves it as a left press does.
        HighlightCurrent = nav.PBan() == PrevPageIndex;
        if (nav.PBan() != PrevPageIndex)
            PageClick();
        if (showPagePopup)
            showPagePopup(globalPos);
        return;
    }
    HighlightCurrent = true;
    RefreshPageButton(nav.PBan());
    PageClick();
}

bool TForm1::PageButtonKeyPress(int key)
{
    if (key == Qt::Key_Space) {
        HighlightCurrent = true;
        PageClick();
        return true;
    }
    if (key == Qt::Key_Escape) {
        nav.PBanSave(0);
        HighlightCurrent = true;
        PageClick();
        return true;
    }
    return false;
}

void TForm1::PageButtonEnter(PageButton *button)
{
    nav.PBanSave(button->Tag);
    ScrollBox1->ensureWidgetVisible(button, 0, 0);
}

bool TForm1::CMDialogKey(int key)
{
    const int current = nav.PBan();
    const int count = nav.PBanSu();
    if (current < 0 || count < 1)
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (PageButtons.value(current) && PageButtons.value(current)->hasFocus())
            PageClick();
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_Tab:
        if (current < count - 1 && PageButtons.value(current + 1))
            PageButtons.value(current + 1)->setFocus(Qt::TabFocusReason);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Left:
        if (current > 0 && PageButtons.value(current - 1))
            PageButtons.value(current - 1)->setFocus(Qt::BacktabFocusReason);
        return true;
    default:
        return false;
    }
}
