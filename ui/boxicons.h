#pragma once

#include <QProxyStyle>

namespace quorvale::ui {

// The message boxes' exclamation-mark and information icons, drawn by the game at whatever size
// and pixel density they are shown: the style's own are small bitmaps, blurred when scaled up
// on a screen of two device pixels to the pixel. Everything else is the application's style.
class BoxIconStyle : public QProxyStyle
{
    Q_OBJECT

public:
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
};

} // namespace quorvale::ui
