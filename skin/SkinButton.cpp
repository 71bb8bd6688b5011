#include "SkinButton.h"

#include "BackgroundImage.h"

#include <QCursor>
#include <QPainter>

CSkinButton* CSkinButton::s_pHoverButton = nullptr;
bool CSkinButton::s_bHoverTimer = false;

namespace {

// Captions read on the skin's dark faces; a pressed face shows its caption in teal.
const QColor kCaptionColour(255, 222, 239);
const QColor kPressedCaptionColour(0, 160, 128);

} // namespace

CSkinButton::CSkinButton() : m_timers(this, [this](int id) { OnTimer(id); }) {
    setMouseTracking(true);
}

CSkinButton::~CSkinButton() {
    if (s_pHoverButton == this)
        StopHover();
}

void CSkinButton::SetStripPos(int x, int y, int cx, int cy, int index) {
    m_xSrc = x;
    m_ySrc = y;
    m_cx = cx;
    m_cy = cy;
    m_nIndex = index;
    if (cx > 0 && cy > 0)
        resize(cx, cy);
}

QPoint CSkinButton::FacePosition(int state) const {
    return {(state + 4 * m_nIndex) * m_cx + m_xSrc, m_ySrc};
}

void CSkinButton::RedrawFace(int state) {
    m_nRedrawState = state;
    repaint();
    m_nRedrawState = -1;
}

int CSkinButton::StateFromWidget() const {
    if (!isEnabled())
        return FACE_DISABLED;
    if (isDown())
        return FACE_PRESSED;
    if (QRect(mapToGlobal(QPoint(0, 0)), size()).contains(QCursor::pos()))
        return FACE_HOVER;
    return FACE_NORMAL;
}

void CSkinButton::paintEvent(QPaintEvent* event) {
    // Without a skin the button keeps the platform's look, so that it can still be found.
    if (!GetBackBitmap()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    PaintFace(painter, m_nRedrawState >= 0 ? m_nRedrawState : StateFromWidget());
}

void CSkinButton::PaintFace(QPainter& painter, int state) {
    if (!CopyFromBackground(painter, QPoint(0, 0), QRect(FacePosition(state), size())))
        return;
    if (const QFont* font = GetSkinFont())
        painter.setFont(*font);
    painter.setPen(state == FACE_PRESSED ? kPressedCaptionColour : kCaptionColour);
    painter.drawText(rect().adjusted(0, 3, 0, 0),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, text());
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
    OnNcHitTest();
    QPushButton::mouseMoveEvent(event);
}

void CSkinButton::enterEvent(QEnterEvent* event) {
    OnNcHitTest();
    QPushButton::enterEvent(event);
}

// A hidden button is not lit, and its timer would go on waking the hidden program.
void CSkinButton::hideEvent(QHideEvent* event) {
    if (s_pHoverButton == this)
        StopHover();
    QPushButton::hideEvent(event);
}

void CSkinButton::OnNcHitTest() {
    if (s_pHoverButton == this)
        return;
    if (CSkinButton* lit = s_pHoverButton) {
        lit->StopHover();
        lit->RedrawFace(FACE_NORMAL);
    }
    if (!s_bHoverTimer) {
        m_timers.SetTimer(ID_HOVER_TIMER, kHoverPeriodMs);
        s_bHoverTimer = true;
        s_pHoverButton = this;
    }
    RedrawFace(FACE_HOVER);
}

void CSkinButton::OnTimer(int id) {
    if (id != ID_HOVER_TIMER)
        return;
    if (s_pHoverButton == this &&
        !QRect(mapToGlobal(QPoint(0, 0)), size()).contains(QCursor::pos())) {
        StopHover();
        RedrawFace(FACE_NORMAL);
    }
}

void CSkinButton::StopHover() {
    m_timers.KillTimer(ID_HOVER_TIMER);
    s_bHoverTimer = false;
    s_pHoverButton = nullptr;
}
