// SPDX-License-Identifier: GPL-3.0-or-later
// CommonStyle: the application style, with thin rounded scroll bars without arrows.
#pragma once

#include <QProxyStyle>
#include <QString>

// The look of the program's context menus: white text on black, the chosen item on orange.
QString contextMenuStyleSheet();

class CommonStyle : public QProxyStyle
{
public:
    // Wraps the "windowsvista" style, or "Fusion" where that one does not exist.
    CommonStyle();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;

private:
    void drawScrollBar(const QStyleOptionComplex *option, QPainter *painter,
                       const QWidget *widget) const;
};
