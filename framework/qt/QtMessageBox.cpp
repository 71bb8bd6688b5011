#include "QtMessageBox.h"

#include "DialogTemplates.h"
#include "Icons.h"
#include "QtText.h"
#include "WinApp.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QSpacerItem>
#include <QTextEdit>

#include <algorithm>

namespace {

// What the window manager's frame takes beside the caption: its buttons and margins.
constexpr int kTitleBarExtra = 140;
// What the frame, the buttons and the margins take of the screen's height.
constexpr int kTextMarginY = 160;

QMessageBox::Icon IconFor(unsigned type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The modal window in front, else the active one, else the program's main window.
QWidget* OwnerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
}

// The whole caption fits beside the frame's buttons, and a text too large for the screen scrolls
// in a box of its own, wrapped at words or, for a long word, anywhere.
void FitToScreen(QMessageBox& box, const QString& text) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!grid || !label)
        return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int captionWidth =
        QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarExtra;
    grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());

    const QRect screen =
        (box.screen() ? box.screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const int maxWidth = std::min(screen.width() / 2, 600);
    const int maxHeight = std::max(screen.height() - kTextMarginY, 100) / 2;
    const QFontMetrics metrics(label->font());
    const QRect natural = metrics.boundingRect(QRect(0, 0, maxWidth, 1 << 20),
                                               Qt::TextWordWrap | Qt::TextExpandTabs, text);
    if (natural.width() <= maxWidth && natural.height() <= maxHeight)
        return;

    auto* view = new QTextEdit(&box);
    view->setReadOnly(true);
    view->setPlainText(text);
    view->setFrameShape(QFrame::NoFrame);
    view->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    view->setLineWrapMode(QTextEdit::FixedPixelWidth);
    view->setLineWrapColumnOrWidth(maxWidth);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->viewport()->setAutoFillBackground(false);
    const int height =
        static_cast<int>(view->document()->size().height()) + 2 * view->frameWidth() + 2;
    view->setFixedSize(maxWidth + view->verticalScrollBar()->sizeHint().width(),
                       std::min(height, maxHeight));
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
    label->hide();
    grid->addWidget(view, row, column, rows, columns);
}

} // namespace

int ShowQtMessageBox(const MessageBoxRequest& request) {
    const QString text = ToQString(request.text);
    QMessageBox box(IconFor(request.type), ToQString(request.caption), text, QMessageBox::NoButton,
                    OwnerWindow());
    box.setWindowIcon(LoadAppIcon(IDI_PROGRAM));
    switch (request.type & MB_TYPEMASK) {
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    FitToScreen(box, text);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}
