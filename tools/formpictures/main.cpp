// Draws the blank form picture of every template into a directory, as JPEG files named the
// way the catalogue's resources expect them.
#include "FormSheet.h"
#include "core/Fonts.h"
#include "templates/BannerLabel.h"
#include "templates/Catalogue.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSet>

#include <cstdio>

using namespace corvane;

namespace {

QByteArray encode(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (!writer.write(image))
        return {};
    return bytes;
}

// The picture as the print window shows it, with every print box and the banner drawn over it,
// for checking by eye that each box sits on its field and the banner clears the form's print.
QImage overlay(const WaybillTemplate& t, const QImage& picture)
{
    constexpr qreal zoom = 1.5;
    QImage image((QSizeF(t.band) * zoom).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(zoom, zoom);
    painter.drawImage(QRectF(t.pictureRect), picture);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(8);
    for (const TextSlot& slot : t.textSlots) {
        painter.setPen(QPen(QColor(220, 0, 0), 0.8));
        painter.setBrush(QColor(255, 0, 0, 28));
        painter.drawRect(QRectF(slot.rect));
        painter.setFont(slot.font);
        painter.setPen(QColor(0, 0, 200, 150));
        const QString sample = slot.largeType ? QStringLiteral("乌鲁木齐") : slot.column;
        painter.drawText(QRectF(slot.rect), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, sample);
        painter.setFont(small);
        painter.setPen(QColor(220, 0, 0));
        painter.drawText(QPointF(slot.rect.right() - 16, slot.rect.bottom() - 1), QString::number(slot.number));
    }
    const QRectF banner(QPointF(t.banner), QSizeF(bannerLabelSize()));
    painter.setPen(QPen(QColor(0, 120, 255), 0.8, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(banner);
    painter.setFont(bannerFont());
    painter.setPen(QColor(0, 0, 0, 170));
    painter.drawText(banner, Qt::AlignLeft | Qt::AlignTop, bannerText());
    painter.setFont(small);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(4, t.band.height() - 2),
                     QStringLiteral("template %1 %2 %3").arg(t.number).arg(t.company, t.variant));
    return image;
}

}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 && !(args.size() == 3 && args.at(1) == QStringLiteral("--overlay"))) {
        std::fputs("usage: formpictures <output directory> [--overlay <directory>]\n", stderr);
        return 2;
    }
    const QString overlayDir = args.size() == 3 ? args.at(2) : QString();
    if (!overlayDir.isEmpty() && !QDir().mkpath(overlayDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(overlayDir));
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    // Pictures are shared between the windows' copies; draw each distinct one once, for the
    // boxes and banners of every copy that shows it.
    QList<Catalogue> catalogues;
    for (PrintWindowKind kind : allPrintWindowKinds)
        catalogues.emplace_back(kind);
    QSet<QString> done;
    for (const Catalogue& catalogue : catalogues) {
        for (const WaybillTemplate& t : catalogue.templates()) {
            if (done.contains(t.pictureResource))
                continue;
            done.insert(t.pictureResource);
            QList<WaybillTemplate> copies;
            for (const Catalogue& other : catalogues)
                for (const WaybillTemplate& copy : other.templates())
                    if (copy.pictureResource == t.pictureResource)
                        copies << copy;
            FormSheet sheet(copies);
            const QImage image = sheet.draw(3);
            // Large enough to look like a scan, small enough to carry: aim at 40-120 KB
            // (a high-resolution scan may be larger).
            const qint64 limit = image.width() > 2000 ? 600'000 : 115'000;
            int quality = 92;
            QByteArray bytes = encode(image, quality);
            while (bytes.size() > limit && quality > 40)
                bytes = encode(image, quality -= 4);
            const QString name = QFileInfo(t.pictureResource).fileName();
            QFile file(out.filePath(name));
            if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
            std::printf("%s  %lld bytes  quality %d", qPrintable(name), static_cast<long long>(bytes.size()), quality);
            if (!sheet.unlabelled().isEmpty())
                std::printf("  unlabelled: %s", qPrintable(sheet.unlabelled().join(QStringLiteral(", "))));
            std::printf("\n");
            if (!overlayDir.isEmpty()) {
                const QString overlayName = QDir(overlayDir).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".png"));
                if (!overlay(t, image).save(overlayName)) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(overlayName));
                    return 1;
                }
            }
        }
    }
    return 0;
}
