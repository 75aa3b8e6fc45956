#include "testsupport/PdfPageImages.h"

#include "testsupport/ExternalTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace corvane::test {

QImage pdfPageAt254Dpi(const QString& pdf, int page)
{
    const QString prefix = QDir::temp().filePath(QStringLiteral("corvane-pdf-page-%1").arg(QCoreApplication::applicationPid()));
    runToolQuietly(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-f"), QString::number(page),
                                                QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"),
                                                QStringLiteral("-png"), pdf, prefix});
    QImage image(prefix + QStringLiteral(".png"));
    QFile::remove(prefix + QStringLiteral(".png"));
    return image.convertToFormat(QImage::Format_Grayscale8);
}

QRect inkIn(const QImage& image, const QRect& region)
{
    QRect ink;
    for (int y = qMax(0, region.top()); y <= qMin(image.height() - 1, region.bottom()); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = qMax(0, region.left()); x <= qMin(image.width() - 1, region.right()); ++x)
            if (line[x] < 128)
                ink |= QRect(x, y, 1, 1);
    }
    return ink;
}

}
