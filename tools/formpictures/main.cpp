// Draws the blank form picture of every template into a directory, as JPEG files named the
// way the catalogue's resources expect them.
#include "FormSheet.h"
#include "core/Fonts.h"
#include "templates/Catalogue.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
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

}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    if (argc != 2) {
        std::fputs("usage: formpictures <output directory>\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    // Pictures are shared between the windows' copies; draw each distinct one once.
    QSet<QString> done;
    for (PrintWindowKind kind : allPrintWindowKinds) {
        const Catalogue catalogue(kind);
        for (const WaybillTemplate& t : catalogue.templates()) {
            if (done.contains(t.pictureResource))
                continue;
            done.insert(t.pictureResource);
            FormSheet sheet(t);
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
        }
    }
    return 0;
}
