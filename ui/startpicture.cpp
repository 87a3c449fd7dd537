#include "startpicture.h"

#include "picturepainter.h"

#include <QPainter>

namespace quorvale::ui {

QImage drawStartPicture(qreal devicePixelRatio)
{
    const int side = qRound(startPictureSize * devicePixelRatio);
    QImage image(side, side, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter p(&image);
    paintPicture(p, pictures::start, QRectF(0, 0, startPictureSize, startPictureSize));
    return image;
}

} // namespace quorvale::ui
