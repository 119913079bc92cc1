#include "render/QtPainter.h"

#include "render/BitmapStore.h"
#include "render/FontRegistry.h"
#include "render/TextLayoutCache.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStaticText>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace
{
QColor ToQColor(const IColor& color)
{
    return QColor(color.R, color.G, color.B, color.A);
}

QRectF ToQRectF(const IRECT& rect)
{
    return QRectF(QPointF(rect.L, rect.T), QPointF(rect.R, rect.B));
}

// A corner radius no larger than the rectangle allows.
qreal ClampRadius(const QRectF& rect, float radius)
{
    const qreal limit = 0.5 * std::min(rect.width(), rect.height());
    return std::clamp(static_cast<qreal>(radius), qreal(0), std::max(limit, qreal(0)));
}

Qt::Alignment ToAlignment(const IText& style)
{
    Qt::Alignment flags;
    switch (style.mAlign)
    {
    case EAlign::kNear:
        flags |= Qt::AlignLeft;
        break;
    case EAlign::kCenter:
        flags |= Qt::AlignHCenter;
        break;
    case EAlign::kFar:
        flags |= Qt::AlignRight;
        break;
    }
    switch (style.mVAlign)
    {
    case EVAlign::kTop:
        flags |= Qt::AlignTop;
        break;
    case EVAlign::kMiddle:
        flags |= Qt::AlignVCenter;
        break;
    case EVAlign::kBottom:
        flags |= Qt::AlignBottom;
        break;
    }
    return flags;
}
// Where a block of `size` goes in `area` to sit there as `alignment` says.
QPointF AlignedTopLeft(const QRectF& area, const QSizeF& size, Qt::Alignment alignment)
{
    qreal x = area.left();
    if (alignment & Qt::AlignHCenter)
        x += 0.5 * (area.width() - size.width());
    else if (alignment & Qt::AlignRight)
        x = area.right() - size.width();
    qreal y = area.top();
    if (alignment & Qt::AlignVCenter)
        y += 0.5 * (area.height() - size.height());
    else if (alignment & Qt::AlignBottom)
        y = area.bottom() - size.height();
    return {x, y};
}
} // namespace

QtPainter::QtPainter(QPainter& painter, float drawScale, const FontRegistry& fonts,
                     const BitmapStore& bitmaps, TextLayoutCache* layouts)
    : mPainter(painter), mFonts(fonts), mBitmaps(bitmaps), mLayouts(layouts)
{
    const double scale =
        (std::isfinite(drawScale) && drawScale > 0.f) ? static_cast<double>(drawScale) : 1.0;
    const QPaintDevice* device = painter.device();
    const double ratio = device ? device->devicePixelRatioF() : 1.0;
    mDeviceScale = scale * (ratio > 0.0 ? ratio : 1.0);

    mPainter.save();
    mPainter.scale(scale, scale);
    mPainter.setRenderHint(QPainter::Antialiasing, true);
    mPainter.setRenderHint(QPainter::TextAntialiasing, true);
    mPainter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QtPainter::~QtPainter()
{
    while (mClipDepth > 0)
        PopClip();
    mPainter.restore();
}

bool QtPainter::Prepare(const IBlend& blend)
{
    const float weight = std::isfinite(blend.mWeight) ? std::clamp(blend.mWeight, 0.f, 1.f) : 1.f;
    mPainter.setOpacity(weight);
    return weight > 0.f;
}

void QtPainter::FillRect(const IColor& color, const IRECT& rect, const IBlend& blend)
{
    if (color.A == 0 || rect.HasNoArea() || !Prepare(blend))
        return;
    mPainter.fillRect(ToQRectF(rect), ToQColor(color));
}

void QtPainter::StrokeInside(const IColor& color, const IRECT& rect, float cornerRadius,
                             bool ellipse, const IBlend& blend, float thickness)
{
    if (!(thickness > 0.f) || color.A == 0 || rect.HasNoArea() || !Prepare(blend))
        return;
    const qreal half = 0.5 * static_cast<qreal>(thickness);
    const QRectF inner = ToQRectF(rect).adjusted(half, half, -half, -half);
    if (inner.width() < 0.0 || inner.height() < 0.0)
        return;
    QPen pen(ToQColor(color));
    pen.setWidthF(thickness);
    pen.setJoinStyle(Qt::MiterJoin);
    mPainter.setPen(pen);
    mPainter.setBrush(Qt::NoBrush);
    if (ellipse)
    {
        mPainter.drawEllipse(inner);
        return;
    }
    const qreal radius = ClampRadius(inner, cornerRadius - static_cast<float>(half));
    if (radius > 0.0)
        mPainter.drawRoundedRect(inner, radius, radius);
    else
        mPainter.drawRect(inner);
}

void QtPainter::DrawRect(const IColor& color, const IRECT& rect, const IBlend& blend,
                         float thickness)
{
    StrokeInside(color, rect, 0.f, false, blend, thickness);
}

void QtPainter::FillRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                              const IBlend& blend)
{
    if (color.A == 0 || rect.HasNoArea() || !Prepare(blend))
        return;
    const QRectF area = ToQRectF(rect);
    const qreal radius = ClampRadius(area, cornerRadius);
    if (radius <= 0.0)
    {
        mPainter.fillRect(area, ToQColor(color));
        return;
    }
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    mPainter.fillPath(path, ToQColor(color));
}

void QtPainter::DrawRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                              const IBlend& blend, float thickness)
{
    StrokeInside(color, rect, cornerRadius, false, blend, thickness);
}

void QtPainter::FillEllipse(const IColor& color, const IRECT& rect, const IBlend& blend)
{
    if (color.A == 0 || rect.HasNoArea() || !Prepare(blend))
        return;
    mPainter.setPen(Qt::NoPen);
    mPainter.setBrush(ToQColor(color));
    mPainter.drawEllipse(ToQRectF(rect));
}

void QtPainter::DrawEllipse(const IColor& color, const IRECT& rect, const IBlend& blend,
                            float thickness)
{
    StrokeInside(color, rect, 0.f, true, blend, thickness);
}

void QtPainter::FillRadialGradientCircle(const IColor& centre, const IColor& rim, float cx,
                                         float cy, float radius, const IBlend& blend)
{
    if (!(radius > 0.f) || !std::isfinite(cx) || !std::isfinite(cy) || !Prepare(blend))
        return;
    const QPointF middle(cx, cy);
    QRadialGradient gradient(middle, radius);
    gradient.setColorAt(0.0, ToQColor(centre));
    gradient.setColorAt(1.0, ToQColor(rim));
    mPainter.setPen(Qt::NoPen);
    mPainter.setBrush(gradient);
    mPainter.drawEllipse(middle, static_cast<qreal>(radius), static_cast<qreal>(radius));
}

void QtPainter::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                         const IBlend& blend, float thickness)
{
    if (!(thickness > 0.f) || color.A == 0 || !Prepare(blend))
        return;
    QPen pen(ToQColor(color));
    pen.setWidthF(thickness);
    pen.setCapStyle(Qt::FlatCap);
    mPainter.setPen(pen);
    mPainter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtPainter::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                             float y3, const IBlend& blend)
{
    if (color.A == 0 || !Prepare(blend))
        return;
    const QPointF corners[3] = {QPointF(x1, y1), QPointF(x2, y2), QPointF(x3, y3)};
    mPainter.setPen(Qt::NoPen);
    mPainter.setBrush(ToQColor(color));
    mPainter.drawPolygon(corners, 3);
}

void QtPainter::DrawText(const IText& style, std::string_view str, const IRECT& bounds,
                         const IBlend& blend)
{
    if (str.empty() || style.mFGColor.A == 0 || !Prepare(blend))
        return;
    QString text = QString::fromUtf8(str.data(), static_cast<qsizetype>(str.size()));
    const QFont font = mFonts.FontFor(style);
    if (style.mElide)
        text = QFontMetricsF(font).elidedText(text, Qt::ElideRight, ToQRectF(bounds).width());
    // One way of placing and drawing, kept layout or not, so a text lands on the same pixels
    // whichever paint draws it.
    TextLayoutCache::Entry fresh;
    const TextLayoutCache::Entry* entry = mLayouts ? &mLayouts->Layout(text, font) : nullptr;
    if (!entry)
    {
        fresh = TextLayoutCache::Make(text, font);
        entry = &fresh;
    }
    QRectF area = ToQRectF(bounds);
    const bool turned = style.mAngle != 0.f && std::isfinite(style.mAngle);
    const QPointF topLeft = AlignedTopLeft(area, entry->size, ToAlignment(style));
    // A text the clip leaves nothing of is not drawn: a repaint of a small corner (the activity
    // light's) meets the draw areas of the texts around it. Two device pixels of slack keep the
    // glyphs' edges as hinting and antialiasing place them.
    if (!turned && mPainter.hasClipping())
    {
        const qreal slack = 2.0 / mDeviceScale;
        const QRectF reach = entry->ink.translated(topLeft).adjusted(-slack, -slack, slack, slack);
        if (!reach.intersects(mPainter.clipBoundingRect()))
            return;
    }
    mPainter.setFont(font);
    mPainter.setPen(ToQColor(style.mFGColor));
    if (turned)
    {
        // Turned about the middle of its rectangle, clockwise.
        mPainter.save();
        mPainter.translate(area.center());
        mPainter.rotate(style.mAngle);
        area.translate(-area.center());
    }
    mPainter.drawStaticText(
        turned ? AlignedTopLeft(area, entry->size, ToAlignment(style)) : topLeft, entry->layout);
    if (turned)
        mPainter.restore();
}

void QtPainter::DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int frameIndex,
                           const IBlend& blend)
{
    if (!bitmap.IsValid() || dest.HasNoArea())
        return;
    const int frame = std::clamp(frameIndex, 0, bitmap.NFrames() - 1);
    const QTransform toDevice = mPainter.deviceTransform();
    if (toDevice.type() <= QTransform::TxScale)
    {
        // On whole device pixels, from a copy scaled to them: nothing is resampled while drawing,
        // so the pixels do not depend on where a repaint's rows begin, and none reach past the
        // device pixels that hold the destination.
        const QRectF onDevice = toDevice.mapRect(ToQRectF(dest));
        const QSize framePixels(static_cast<int>(std::lround(onDevice.width())),
                                static_cast<int>(std::lround(onDevice.height())));
        const QImage* image = mBitmaps.Scaled(bitmap.mResourceName, mDeviceScale, framePixels,
                                              bitmap.NFrames(), bitmap.mFramesAreHorizontal);
        bool invertible = false;
        const QTransform fromDevice = toDevice.inverted(&invertible);
        if (!image || !invertible || !Prepare(blend))
            return;
        const QPoint corner(static_cast<int>(std::lround(onDevice.left())),
                            static_cast<int>(std::lround(onDevice.top())));
        const QPoint frameCorner = bitmap.mFramesAreHorizontal
                                       ? QPoint(framePixels.width() * frame, 0)
                                       : QPoint(0, framePixels.height() * frame);
        // Device pixels in, device pixels out: the world transform undoes all the rest.
        const QTransform world = mPainter.worldTransform();
        mPainter.setWorldTransform(fromDevice * world);
        mPainter.drawImage(corner, *image, QRect(frameCorner, framePixels));
        mPainter.setWorldTransform(world);
        return;
    }
    const QImage* image = mBitmaps.Select(bitmap.mResourceName, mDeviceScale);
    if (!image || image->isNull() || !Prepare(blend))
        return;
    // The frame in design pixels, then in the chosen image's pixels.
    const qreal frameW = bitmap.FrameWidth();
    const qreal frameH = bitmap.FrameHeight();
    const QRectF designFrame = bitmap.mFramesAreHorizontal
                                   ? QRectF(frameW * frame, 0.0, frameW, frameH)
                                   : QRectF(0.0, frameH * frame, frameW, frameH);
    const qreal toImageX = static_cast<qreal>(image->width()) / bitmap.mWidth;
    const qreal toImageY = static_cast<qreal>(image->height()) / bitmap.mHeight;
    const QRectF source(designFrame.x() * toImageX, designFrame.y() * toImageY,
                        designFrame.width() * toImageX, designFrame.height() * toImageY);
    mPainter.drawImage(ToQRectF(dest), *image, source);
}

void QtPainter::PushClip(const IRECT& rect)
{
    mPainter.save();
    mPainter.setClipRect(ToQRectF(rect), Qt::IntersectClip);
    ++mClipDepth;
}

void QtPainter::PopClip()
{
    if (mClipDepth == 0)
        return;
    mPainter.restore();
    --mClipDepth;
}
