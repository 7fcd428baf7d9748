// SPDX-License-Identifier: GPL-3.0-or-later
// PersetButton: one entry of the preset list, with its apply button and context menu.
#include "settings/persetbutton.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace
{

const char *const menuStyle =
    "QMenu{background-color:rgb(0, 0, 0);}QMenu::item{font-size: 10pt; color: rgb(255, 255, "
    "255);background-color:rgb(0, 0, 0); padding:4px 16px;margin:4px "
    "4px;}QMenu::item:selected{color:rgb(255,255,255);background-color: rgb(255, 107, "
    "0);border-radius: 4px;}QMenu::item:pressed{color:rgb(255,255,255);background-color: rgb(255, "
    "107, 0);border-radius: 4px;}";
const char *const applyStyle = "QPushButton{border:none;border-radius: "
                               "4px;font-size:12px;}QPushButton:hover{\tborder-radius: "
                               "4px;background: #EEE;}";

void fillRounded(QPainter &painter, const QRectF &rect, const QColor &color)
{
    QPainterPath path;
    path.addRoundedRect(rect, 4, 4);
    painter.fillPath(path, color);
}

} // namespace

PersetButton::PersetButton(const QString &text, const QString &objectName, QWidget *parent)
    : QPushButton(text, parent), selectBox(QStringLiteral(":/img/ic_select_box.png")),
      unselectBox(QStringLiteral(":/img/ic_unselect_box.png")), applyBtn(new QPushButton(this)),
      menu(new QMenu(this))
{
    setObjectName(objectName);
    QFont entryFont = font();
    entryFont.setPixelSize(14);
    setFont(entryFont);
    setAttribute(Qt::WA_Hover);

    applyBtn->setObjectName(QStringLiteral("applyBtn"));
    applyBtn->setStyleSheet(QLatin1String(applyStyle));
    applyBtn->setFixedSize(50, 30);
    applyBtn->setCursor(Qt::PointingHandCursor);
    connect(applyBtn, &QPushButton::clicked, this,
            [this] { emit applyConfigSignal(this->objectName()); });

    menu->setStyleSheet(QLatin1String(menuStyle));
    const char *const keys[] = {"open", "del", "rename"};
    for (int opt = 0; opt < 3; ++opt) {
        QAction *act = menu->addAction(QString());
        actions.insert(QLatin1String(keys[opt]), act);
        connect(act, &QAction::triggered, this,
                [this, opt] { emit perSetOptSignal(this->objectName(), opt); });
    }
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this] {
        if (!selectMode)
            menu->exec(QCursor::pos());
    });
    retranslate();
}

QPair<QString, int> PersetButton::splitName(const QString &objectName)
{
    // The position follows the last "__", so a file name may hold "__" itself.
    const int cut = objectName.lastIndexOf(QLatin1String("__"));
    if (cut < 0)
        return {objectName, -1};
    bool isNumber = false;
    const int position = objectName.mid(cut + 2).toInt(&isNumber);
    return {objectName.left(cut), isNumber ? position : -1};
}

void PersetButton::setSelectMode(bool on)
{
    selectMode = on;
    applyBtn->setVisible(!on);
    update();
}

void PersetButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    const QRectF area(QPointF(1, 1), QPointF(width() - 1, height() - 1));
    int textLeft = 18;
    int textRight = width() - 70;
    if (selectMode) {
        const QPixmap &box = isChecked() ? selectBox : unselectBox;
        painter.drawPixmap(6, (height() - box.height()) / 2, box);
        fillRounded(painter, QRectF(QPointF(box.width() + 23, 1), area.bottomRight()),
                    QColor(246, 246, 246));
        textLeft = box.width() + 41;
        textRight = width() - 10;
    } else {
        const bool lit = isChecked() || underMouse();
        fillRounded(painter, area, lit ? QColor(224, 224, 224) : QColor(246, 246, 246));
    }
    const QRect textRect(textLeft, 0, qMax(0, textRight - textLeft), height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
}

void PersetButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    applyBtn->move(width() - 1 - 59, (height() - applyBtn->height()) / 2);
}

void PersetButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QPushButton::changeEvent(event);
}

void PersetButton::retranslate()
{
    applyBtn->setText(tr("应用"));
    setToolTip(tr("点击应用预设"));
    actions.value(QStringLiteral("open"))->setText(tr("打开"));
    actions.value(QStringLiteral("del"))->setText(tr("删除"));
    actions.value(QStringLiteral("rename"))->setText(tr("重命名"));
}
