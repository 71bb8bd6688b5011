#pragma once

#include "WindowTimers.h"

#include <QPushButton>

// A push button that paints its face out of a strip of faces in the skin picture and its
// caption in the skin font. The face under the mouse lights up; one button at most is lit in
// the whole program, and a 100 ms timer on it notices when the mouse has left.
class CSkinButton : public QPushButton {
public:
    enum Face { FACE_NORMAL = 0, FACE_PRESSED = 1, FACE_HOVER = 2, FACE_DISABLED = 3 };
    enum : int { ID_HOVER_TIMER = 1, kHoverPeriodMs = 100 };

    CSkinButton();
    ~CSkinButton() override;

    // The strip's left edge and top, the face size (which the button takes) and the face group.
    void SetStripPos(int x, int y, int cx, int cy, int index);
    // Where the face of the state lies in the picture.
    QPoint FacePosition(int state) const;
    void RedrawFace(int state);

    static CSkinButton* HoverButton() { return s_pHoverButton; }

    // The mouse is over the button: light it, and put out the one lit before. (Named after the
    // hit test by which the button learns that the mouse is over it.)
    void OnNcHitTest();
    void OnTimer(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int StateFromWidget() const;
    void PaintFace(QPainter& painter, int state);
    void StopHover();

    int m_nIndex = 0;
    int m_cy = 0;
    int m_cx = 0;
    int m_ySrc = 0;
    int m_xSrc = 0;
    int m_nRedrawState = -1;
    CWindowTimers m_timers;

    static CSkinButton* s_pHoverButton;
    static bool s_bHoverTimer;
};
