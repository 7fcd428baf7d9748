// SPDX-License-Identifier: GPL-3.0-or-later
// CommonStyle: the application style, with thin rounded scroll bars without arrows.
#include "app/commonstyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionSlider>

namespace
{
QStyle *createWrappedStyle()
{
    QStyle *style = QStyleFactory::create(QStringLiteral("windowsvista"));
    if (!style)
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    return style;
}

// Radius that rounds the short side of a scroll bar part completely.
qreal roundRadius(const QRect &rect, Qt::Orientation orientation)
{
    return (orientation == Qt::Vertical ? rect.width() : rect.height()) / 2.0;
}
} // namespace

CommonStyle::CommonStyle() : QProxyStyle(createWrappedStyle()) {}

int CommonStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                             const QWidget *widget) const
{
    if (metric == PM_ScrollBarExtent)
        return 8;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void CommonStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                     QPainter *painter, const QWidget *widget) const
{
    if (control == CC_ScrollBar)
        drawScrollBar(option, painter, widget);
    else
        QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void CommonStyle::drawScrollBar(const QStyleOptionComplex *option, QPainter *painter,
                                const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!bar)
        return;

    painter->save();
    painter->setPen(Qt::NoPen);
    const QBrush base = bar->palette.brush(QPalette::Base);
    painter->fillRect(bar->rect, base);

    QStyleOptionSlider part = *bar;
    const SubControl order[] = {SC_ScrollBarSubLine, SC_ScrollBarAddLine, SC_ScrollBarSubPage,
                                SC_ScrollBarAddPage, SC_ScrollBarFirst,   SC_ScrollBarLast,
                                SC_ScrollBarSlider};
    for (SubControl sub : order) {
        if (!(bar->subControls & sub))
            continue;
        part.rect = bar->rect;
        const QRect rect = proxy()->subControlRect(CC_ScrollBar, &part, sub, widget);
        if (rect.isEmpty())
            continue;
        part.rect = rect;
        if (!(bar->activeSubControls & sub))
            part.state &= ~(State_Sunken | State_MouseOver);

        switch (sub) {
        case SC_ScrollBarSubLine:
        case SC_ScrollBarAddLine:
            painter->fillRect(rect, base);
            break;
        case SC_ScrollBarSubPage:
        case SC_ScrollBarAddPage: {
            painter->save();
            proxy()->drawControl(sub == SC_ScrollBarSubPage ? CE_ScrollBarSubPage
                                                            : CE_ScrollBarAddPage,
                                 &part, painter, widget);
            painter->restore();
            const qreal r = roundRadius(rect, bar->orientation);
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setBrush(QColor(240, 240, 240));
            painter->drawRoundedRect(rect, r, r);
            break;
        }
        case SC_ScrollBarFirst:
        case SC_ScrollBarLast:
            painter->save();
            proxy()->drawControl(sub == SC_ScrollBarFirst ? CE_ScrollBarFirst : CE_ScrollBarLast,
                                 &part, painter, widget);
            painter->restore();
            break;
        default: {
            const qreal r = roundRadius(rect, bar->orientation);
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setBackgroundMode(Qt::OpaqueMode);
            painter->setBrush(QColor(203, 203, 203));
            painter->drawRoundedRect(rect, r, r);
            // Darker while the pointer is anywhere over the bar.
            if (bar->state & State_MouseOver) {
                painter->setBrush(QColor(128, 128, 128));
                painter->drawRoundedRect(rect, r, r);
            }
            break;
        }
        }
    }
    painter->restore();
}

QString contextMenuStyleSheet()
{
    return QStringLiteral(
        "QMenu{background-color: black;}"
        "QMenu::item{font-size: 10pt; color: white; padding: 4px 16px; margin: 4px;}"
        "QMenu::item:selected, QMenu::item:pressed{color: white; "
        "background-color: rgb(255, 107, 0); border-radius: 4px;}");
}
