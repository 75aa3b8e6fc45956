// Draws the artwork of the main window: banner, window buttons, navigation pictures,
// page backgrounds and the program icon.
#include "core/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>

namespace {

const QColor navy(0x1d, 0x4f, 0x91);
const QColor sky(0x3c, 0x8d, 0xde);
const QColor leaf(0x2e, 0x9b, 0x4f);
const QColor amber(0xf2, 0x9b, 0x1d);
const QColor brick(0xd2, 0x3c, 0x32);

QFont face(const char* family, int pixels, bool bold = false)
{
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QImage canvas(int w, int h, bool transparent = true)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(transparent ? Qt::transparent : Qt::white);
    return image;
}

void begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A parcel seen from the front-top: the program's own sign.
void drawParcel(QPainter& p, const QRectF& r)
{
    const double w = r.width(), h = r.height();
    const QPointF o = r.topLeft();
    auto at = [&](double x, double y) { return o + QPointF(x * w, y * h); };
    QPainterPath top;
    top.moveTo(at(0.5, 0.08)); top.lineTo(at(0.94, 0.28)); top.lineTo(at(0.5, 0.48)); top.lineTo(at(0.06, 0.28));
    top.closeSubpath();
    QPainterPath left;
    left.moveTo(at(0.06, 0.28)); left.lineTo(at(0.5, 0.48)); left.lineTo(at(0.5, 0.95)); left.lineTo(at(0.06, 0.74));
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(at(0.5, 0.48)); right.lineTo(at(0.94, 0.28)); right.lineTo(at(0.94, 0.74)); right.lineTo(at(0.5, 0.95));
    right.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x22), qMax(1.0, w / 40)));
    p.setBrush(QColor(0xf0, 0xc0, 0x78)); p.drawPath(top);
    p.setBrush(QColor(0xd9, 0x9a, 0x4a)); p.drawPath(left);
    p.setBrush(QColor(0xc2, 0x82, 0x36)); p.drawPath(right);
    // Tape across the lid and down the front.
    p.setPen(QPen(QColor(0xfa, 0xf0, 0xd8), w / 12, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(at(0.28, 0.18), at(0.72, 0.38));
    p.drawLine(at(0.72, 0.38), at(0.72, 0.84));
    // Address label on the front.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath label;
    label.moveTo(at(0.14, 0.50)); label.lineTo(at(0.40, 0.62)); label.lineTo(at(0.40, 0.78)); label.lineTo(at(0.14, 0.66));
    label.closeSubpath();
    p.drawPath(label);
    p.setPen(QPen(navy, qMax(1.0, w / 64)));
    p.drawLine(at(0.17, 0.57), at(0.36, 0.66));
    p.drawLine(at(0.17, 0.62), at(0.33, 0.70));
}

void drawPerson(QPainter& p, const QRectF& r, const QColor& color)
{
    QRadialGradient shade(r.center() - QPointF(r.width() / 6, r.height() / 4), r.width() * 0.8);
    shade.setColorAt(0, color.lighter(150));
    shade.setColorAt(1, color.darker(115));
    p.setPen(QPen(color.darker(140), 1.2));
    p.setBrush(shade);
    const QRectF head(r.left() + r.width() * 0.32, r.top(), r.width() * 0.36, r.height() * 0.40);
    p.drawEllipse(head);
    QPainterPath body;
    body.moveTo(r.left() + r.width() * 0.06, r.bottom());
    body.cubicTo(r.left() + r.width() * 0.06, r.top() + r.height() * 0.48, r.right() - r.width() * 0.06,
                 r.top() + r.height() * 0.48, r.right() - r.width() * 0.06, r.bottom());
    body.closeSubpath();
    p.drawPath(body);
}

void drawArrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color, double width)
{
    const QLineF line(from, to);
    const double head = width * 1.9;
    QLineF unit = line.unitVector();
    const QPointF dir = unit.p2() - unit.p1();
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = to - dir * head;
    p.setPen(QPen(color.darker(130), 1.0));
    p.setBrush(color);
    QPainterPath arrow;
    arrow.moveTo(from + normal * (width / 2));
    arrow.lineTo(base + normal * (width / 2));
    arrow.lineTo(base + normal * head * 0.9);
    arrow.lineTo(to);
    arrow.lineTo(base - normal * head * 0.9);
    arrow.lineTo(base - normal * (width / 2));
    arrow.lineTo(from - normal * (width / 2));
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void drawSheet(QPainter& p, const QRectF& r, bool lines = true)
{
    p.setPen(QPen(QColor(0x88, 0x88, 0x88), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(r);
    if (!lines)
        return;
    p.setPen(QPen(QColor(0x9a, 0xb4, 0xd6), 1.2));
    for (double y = r.top() + 4; y < r.bottom() - 2; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void drawPrinter(QPainter& p, int sheets)
{
    // Paper fed from the back.
    for (int i = sheets - 1; i >= 0; --i)
        drawSheet(p, QRectF(14 + i * 3, 3 + i * 3, 20, 16), false);
    QRectF body(4, 17, 40, 20);
    p.setPen(QPen(QColor(0x3a, 0x46, 0x58), 1.2));
    p.setBrush(vertical(body, QColor(0x9a, 0xa9, 0xbd), QColor(0x4f, 0x5e, 0x74)));
    p.drawRoundedRect(body, 4, 4);
    p.setBrush(QColor(0x2b, 0x33, 0x40));
    p.drawRect(QRectF(10, 31, 28, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5c, 0xe0, 0x6e));
    p.drawEllipse(QPointF(38, 23), 1.8, 1.8);
    // The printed waybill coming out at the front.
    drawSheet(p, QRectF(12, 32, 24, 14));
    if (sheets > 1) {
        p.setPen(QPen(QColor(0x88, 0x88, 0x88), 1.0));
        p.drawLine(QPointF(14, 46.5), QPointF(38, 46.5));
    }
}

void drawSpreadsheet(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(0x1f, 0x6b, 0x37), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(leaf);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() / 5));
    p.setPen(QPen(QColor(0x7c, 0xb8, 0x8c), 1.0));
    for (int i = 1; i < 4; ++i) {
        const double x = r.left() + r.width() * i / 4;
        p.drawLine(QPointF(x, r.top() + r.height() / 5), QPointF(x, r.bottom()));
    }
    for (int i = 2; i < 5; ++i) {
        const double y = r.top() + r.height() * i / 5;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void drawDatabase(QPainter& p)
{
    for (int i = 2; i >= 0; --i) {
        const QRectF disc(8, 8 + i * 11, 32, 20);
        p.setPen(QPen(navy.darker(120), 1.2));
        p.setBrush(vertical(disc, sky.lighter(130), navy));
        QPainterPath side;
        side.moveTo(disc.left(), disc.top() + 5);
        side.lineTo(disc.left(), disc.bottom() - 5);
        side.arcTo(QRectF(disc.left(), disc.bottom() - 10, disc.width(), 10), 180, 180);
        side.lineTo(disc.right(), disc.top() + 5);
        side.closeSubpath();
        p.drawPath(side);
        p.setBrush(sky.lighter(140));
        p.drawEllipse(QRectF(disc.left(), disc.top(), disc.width(), 10));
    }
    // A small gear: the data is looked after.
    QPainterPath gear;
    const QPointF c(37, 37);
    for (int i = 0; i < 16; ++i) {
        const double radius = (i % 2) ? 9.0 : 6.5;
        const QPointF pt = c + QPointF(radius * std::cos(i * M_PI / 8), radius * std::sin(i * M_PI / 8));
        i ? gear.lineTo(pt) : gear.moveTo(pt);
    }
    gear.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x10), 1.0));
    p.setBrush(amber);
    p.drawPath(gear);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 2.5, 2.5);
}

void drawCalendar(QPainter& p)
{
    const QRectF page(6, 8, 36, 36);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(page, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(brick);
    QPainterPath head;
    head.addRoundedRect(QRectF(6, 8, 36, 11), 3, 3);
    p.drawPath(head);
    p.drawRect(QRectF(6, 14, 36, 5));
    p.setBrush(QColor(0x55, 0x55, 0x55));
    p.drawRoundedRect(QRectF(13, 4, 4, 9), 2, 2);
    p.drawRoundedRect(QRectF(31, 4, 4, 9), 2, 2);
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.setFont(face("微软雅黑", 18, true));
    p.drawText(QRectF(6, 19, 36, 25), Qt::AlignCenter, QStringLiteral("日"));
}

void drawRoundBadge(QPainter& p, const QColor& color)
{
    const QRectF r(4, 4, 40, 40);
    QRadialGradient g(QPointF(18, 14), 34);
    g.setColorAt(0, color.lighter(160));
    g.setColorAt(1, color.darker(120));
    p.setPen(QPen(color.darker(150), 1.2));
    p.setBrush(g);
    p.drawEllipse(r);
}

void drawHelp(QPainter& p)
{
    drawRoundBadge(p, sky);
    p.setPen(Qt::white);
    p.setFont(face("微软雅黑", 30, true));
    p.drawText(QRectF(4, 3, 40, 40), Qt::AlignCenter, QStringLiteral("?"));
}

void drawExit(QPainter& p)
{
    drawRoundBadge(p, brick);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13, 14, 22, 22), 125 * 16, 290 * 16);
    p.drawLine(QPointF(24, 10), QPointF(24, 24));
}

bool save(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    const bool jpeg = name.endsWith(QLatin1String(".jpg"));
    const bool ok = jpeg ? image.convertToFormat(QImage::Format_RGB32).save(path, "JPEG", 90) : image.save(path, "PNG");
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

QImage icon48(const std::function<void(QPainter&)>& draw)
{
    QImage image = canvas(48, 48);
    QPainter p(&image);
    begin(p);
    draw(p);
    return image;
}

QImage banner()
{
    QImage image = canvas(989, 66, false);
    QPainter p(&image);
    begin(p);
    QLinearGradient sweep(0, 0, 989, 0);
    sweep.setColorAt(0, QColor(0x0f, 0x3c, 0x78));
    sweep.setColorAt(0.55, QColor(0x1d, 0x62, 0xb0));
    sweep.setColorAt(1, QColor(0x2f, 0x8f, 0xd8));
    p.fillRect(image.rect(), sweep);
    // Soft route lines behind the title: parcels on their way.
    p.setPen(QPen(QColor(255, 255, 255, 38), 2));
    for (int i = 0; i < 5; ++i) {
        QPainterPath route;
        route.moveTo(380 + i * 40, 66);
        route.cubicTo(520 + i * 40, 10 + i * 6, 700 + i * 30, 70, 989, 8 + i * 10);
        p.drawPath(route);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawEllipse(QPointF(930, 70), 120, 60);
    p.fillRect(QRect(0, 62, 989, 4), QColor(0xf2, 0x9b, 0x1d));

    drawParcel(p, QRectF(14, 5, 54, 54));
    p.setFont(face("微软雅黑", 26, true));
    p.setPen(QColor(0, 0, 0, 70));
    p.drawText(QPointF(84, 38), QStringLiteral("Corvane快递单打印软件"));
    p.setPen(Qt::white);
    p.drawText(QPointF(82, 36), QStringLiteral("Corvane快递单打印软件"));
    const int titleWidth = QFontMetrics(p.font()).horizontalAdvance(QStringLiteral("Corvane快递单打印软件"));
    // Edition tag beside the title.
    const QRectF tag(92 + titleWidth, 14, 64, 24);
    p.setBrush(QColor(0xf2, 0x9b, 0x1d));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(tag, 5, 5);
    p.setPen(Qt::white);
    p.setFont(face("微软雅黑", 14, true));
    p.drawText(tag, Qt::AlignCenter, QStringLiteral("专业版"));
    p.setFont(face("微软雅黑", 12));
    p.setPen(QColor(0xd8, 0xe8, 0xff));
    p.drawText(QPointF(84, 55), QStringLiteral("寄件人、收件人一次录入 · 三十多种快递单模板 · 单张与批量打印"));
    return image;
}

QImage windowButton(bool close)
{
    QImage image = canvas(19, 19);
    QPainter p(&image);
    begin(p);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(close ? QColor(0xd2, 0x3c, 0x32, 220) : QColor(255, 255, 255, 60));
    p.drawRoundedRect(QRectF(0.5, 0.5, 18, 18), 3, 3);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        p.drawLine(QPointF(5.5, 5.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 5.5), QPointF(5.5, 13.5));
    } else {
        p.drawLine(QPointF(5, 13), QPointF(14, 13));
    }
    return image;
}

QImage pageBackground(const QColor& tint)
{
    QImage image = canvas(982, 522, false);
    QPainter p(&image);
    begin(p);
    p.fillRect(image.rect(), vertical(image.rect(), QColor(0xfb, 0xfd, 0xff), QColor(0xe6, 0xef, 0xfa)));
    // Two faint bands sweeping across the lower part, tinted by page.
    QColor light = tint;
    light.setAlpha(26);
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    QPainterPath wave;
    wave.moveTo(0, 430);
    wave.cubicTo(260, 380, 560, 500, 982, 410);
    wave.lineTo(982, 522);
    wave.lineTo(0, 522);
    wave.closeSubpath();
    p.drawPath(wave);
    light.setAlpha(18);
    p.setBrush(light);
    QPainterPath wave2;
    wave2.moveTo(0, 470);
    wave2.cubicTo(300, 520, 640, 420, 982, 480);
    wave2.lineTo(982, 522);
    wave2.lineTo(0, 522);
    wave2.closeSubpath();
    p.drawPath(wave2);
    // A light panel behind the input boxes.
    p.setBrush(QColor(255, 255, 255, 120));
    p.setPen(QPen(QColor(0xc6, 0xd6, 0xea), 1));
    p.drawRoundedRect(QRectF(6.5, 6.5, 968, 118), 6, 6);
    return image;
}

QImage programIcon()
{
    QImage image = canvas(256, 256);
    QPainter p(&image);
    begin(p);
    const QRectF tile(8, 8, 240, 240);
    QLinearGradient g(tile.topLeft(), tile.bottomRight());
    g.setColorAt(0, QColor(0x2f, 0x8f, 0xd8));
    g.setColorAt(1, QColor(0x0f, 0x3c, 0x78));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(tile, 44, 44);
    drawParcel(p, QRectF(40, 34, 176, 176));
    p.setBrush(QColor(0xf2, 0x9b, 0x1d));
    p.drawRoundedRect(QRectF(8, 206, 240, 42), 0, 0);
    p.setClipping(false);
    p.setPen(Qt::white);
    p.setFont(face("微软雅黑", 30, true));
    p.drawText(QRectF(8, 206, 240, 40), Qt::AlignCenter, QStringLiteral("快递单"));
    return image;
}

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    corvane::installFontSubstitutions();
    if (argc < 2) {
        std::fputs("usage: corvane-artwork FOLDER\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = true;
    ok &= save(banner(), folder, QStringLiteral("banner.jpg"));
    ok &= save(windowButton(false), folder, QStringLiteral("minimise.png"));
    ok &= save(windowButton(true), folder, QStringLiteral("close.png"));
    ok &= save(icon48([](QPainter& p) {
                   drawPerson(p, QRectF(6, 6, 30, 36), sky);
                   drawArrow(p, QPointF(40, 44), QPointF(40, 22), amber, 5);
               }), folder, QStringLiteral("nav-senders.png"));
    ok &= save(icon48([](QPainter& p) {
                   drawPerson(p, QRectF(6, 6, 30, 36), leaf);
                   drawArrow(p, QPointF(40, 20), QPointF(40, 44), amber, 5);
               }), folder, QStringLiteral("nav-recipients.png"));
    ok &= save(icon48([](QPainter& p) { drawPrinter(p, 1); }), folder, QStringLiteral("nav-print-one.png"));
    ok &= save(icon48([](QPainter& p) { drawPrinter(p, 3); }), folder, QStringLiteral("nav-print-batch.png"));
    ok &= save(icon48([](QPainter& p) {
                   drawSpreadsheet(p, QRectF(16, 6, 28, 36));
                   drawArrow(p, QPointF(2, 30), QPointF(24, 30), amber, 6);
               }), folder, QStringLiteral("nav-import.png"));
    ok &= save(icon48([](QPainter& p) {
                   drawSpreadsheet(p, QRectF(4, 6, 28, 36));
                   drawArrow(p, QPointF(22, 30), QPointF(46, 30), sky, 6);
               }), folder, QStringLiteral("nav-export.png"));
    ok &= save(icon48(drawDatabase), folder, QStringLiteral("nav-data.png"));
    ok &= save(icon48(drawCalendar), folder, QStringLiteral("nav-date.png"));
    ok &= save(icon48(drawHelp), folder, QStringLiteral("nav-help.png"));
    ok &= save(icon48(drawExit), folder, QStringLiteral("nav-exit.png"));
    ok &= save(pageBackground(sky), folder, QStringLiteral("page-senders.jpg"));
    ok &= save(pageBackground(leaf), folder, QStringLiteral("page-recipients.jpg"));
    ok &= save(pageBackground(amber), folder, QStringLiteral("page-import.jpg"));
    ok &= save(programIcon(), folder, QStringLiteral("corvane.png"));
    return ok ? 0 : 1;
}
