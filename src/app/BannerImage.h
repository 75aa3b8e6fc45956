#pragma once
#include <QLabel>

namespace corvane {

// The banner picture (Image1): dragging it with the left button moves the borderless window.
class BannerImage : public QLabel {
    Q_OBJECT
public:
    explicit BannerImage(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_dragging = false;
    QPoint m_grabOffset;     // cursor position relative to the window's top-left corner
};

}
