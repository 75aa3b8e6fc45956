#pragma once
#include <QLabel>

namespace corvane {

// A picture that acts as a button (Image2 minimise, Image3 close).
class ClickableImage : public QLabel {
    Q_OBJECT
public:
    explicit ClickableImage(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}
