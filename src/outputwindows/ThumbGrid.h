#pragma once
#include "output/TPageRun.h"

#include <QPointer>
#include <QTableWidget>

namespace corvane {


// The thumbnail list: one row per page of the run, each cell drawing its page scaled down.
class ThumbGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Geometry {
        int textHeight = 0;
        int columnWidth = 0;
        int thumbWidth = 0;
        int thumbHeight = 0;
        int offsetX = 0;
        int offsetY = 0;
    };

    explicit ThumbGrid(QWidget* parent = nullptr);

    void setRun(TPageRun* run) { m_run = run; }
    TPageRun* run() const { return m_run; }
    // The paper's proportions decide the thumbnails' height.
    void setPaper(double widthTenths, double lengthTenths, bool landscape);
    const Geometry& geometry() const { return m_geometry; }
    void setPageRows(int rows);

Q_SIGNALS:
    void geometryChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class ThumbDelegate;
    void computeGeometry();
    void paintThumb(QPainter* painter, const QRect& cell, int row) const;

    QPointer<TPageRun> m_run;
    Geometry m_geometry;
    double m_paperWidth = 2100;
    double m_paperLength = 2970;
    bool m_landscape = false;
};

}
