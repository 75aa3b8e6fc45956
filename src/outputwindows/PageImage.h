#pragma once
#include <QWidget>
#include <memory>

class QPainter;
class QPicture;

namespace corvane {

// Draws a recorded page into a w x h rectangle at the painter's origin: white sheet, the
// recording stretched over the rectangle, a black outline and a two-pixel shadow.
void drawPageImage(QPainter& painter, const QPicture& page, int w, int h);

// The page view's image of the current page; shows nothing while the page is not finished.
class PageImage : public QWidget {
    Q_OBJECT
public:
    explicit PageImage(QWidget* parent = nullptr);
    ~PageImage() override;

    void setPage(std::unique_ptr<QPicture> page);
    bool hasPage() const { return m_page != nullptr; }
    const QPicture* page() const { return m_page.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<QPicture> m_page;
};

}
