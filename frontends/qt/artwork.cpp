#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zelvo::qt {

namespace {

const QColor kDeepBlue(18, 70, 140);
const QColor kSky(64, 150, 220);
const QColor kParcel(226, 160, 72);
const QColor kParcelShade(186, 120, 44);

// A parcel seen slightly from above, filling the square rect.
void DrawParcel(QPainter& p, QRectF r) {
    const qreal w = r.width();
    const qreal h = r.height();
    const QPointF top(r.left() + w * 0.5, r.top() + h * 0.08);
    const QPointF left(r.left() + w * 0.08, r.top() + h * 0.3);
    const QPointF right(r.right() - w * 0.08, r.top() + h * 0.3);
    const QPointF mid(r.left() + w * 0.5, r.top() + h * 0.52);
    const QPointF bottom(r.left() + w * 0.5, r.bottom() - h * 0.06);
    const QPointF leftBottom(left.x(), r.bottom() - h * 0.28);
    const QPointF rightBottom(right.x(), r.bottom() - h * 0.28);

    p.setPen(QPen(kParcelShade.darker(140), std::max<qreal>(1.0, w / 24)));
    p.setBrush(kParcel.lighter(115));
    p.drawPolygon(QPolygonF({top, right, mid, left}));
    p.setBrush(kParcel);
    p.drawPolygon(QPolygonF({left, mid, bottom, leftBottom}));
    p.setBrush(kParcelShade);
    p.drawPolygon(QPolygonF({mid, right, rightBottom, bottom}));
    if (w >= 24) {
        // The tape across the lid.
        p.setPen(QPen(QColor(250, 240, 210), w / 12));
        p.drawLine(QPointF((top.x() + left.x()) / 2, (top.y() + left.y()) / 2),
                   QPointF((mid.x() + right.x()) / 2, (mid.y() + right.y()) / 2));
    }
}

QPixmap IconImage(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size);
    sky.setColorAt(0, kSky);
    sky.setColorAt(1, kDeepBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    const qreal radius = size / 6.0;
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), radius, radius);
    const qreal inset = size * 0.14;
    DrawParcel(p, QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
    return pixmap;
}

}  // namespace

QPixmap BannerPicture(int width, int height, qreal pixelRatio) {
    // Drawn at the screen's own resolution, so it stays sharp when scaled.
    QPixmap pixmap(QSize(width, height) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, kDeepBlue);
    sky.setColorAt(1, kSky);
    p.fillRect(QRect(0, 0, width, height), sky);

    // Dashed route from the parcel to the name.
    const qreal box = height * 0.8;
    DrawParcel(p, QRectF(4, (height - box) / 2, box, box));
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5, Qt::DashLine));
    p.drawLine(QPointF(box + 6, height * 0.78), QPointF(width - 8, height * 0.78));

    QFont name;
    name.setFamilies({"DejaVu Sans", "Arial", "Sans Serif"});
    name.setPixelSize(std::max(10, height * 2 / 5));
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    const QRectF textArea(box + 8, 0, width - box - 10, height * 0.68);
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zelvo"));
    QFont tag;
    tag.setPixelSize(std::max(8, height / 6));
    p.setFont(tag);
    p.setPen(QColor(230, 240, 255));
    p.drawText(QRectF(box + 8, height * 0.52, width - box - 10, height * 0.24),
               Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf16(u"快递单号生成器"));
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {48, 32, 24, 16}) icon.addPixmap(IconImage(size));
    return icon;
}

}  // namespace zelvo::qt
