// SPDX-License-Identifier: GPL-3.0-or-later
// One entry of the recording list.
#include "app/filebutton.h"

#include "app/commonstyle.h"

#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionButton>

namespace
{
const QColor selectedBackground(32, 33, 36);
const QColor hoverBackground(238, 238, 238);
const QColor disabledText(184, 184, 186);
const QColor detailText(120, 120, 124);
const QColor accent(255, 107, 0);

// An empty name is refused too: it would leave a hidden ".data" file that the
// list never shows again.
bool isAcceptableName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const char *illegal : {"/", "\\", ".", ":", "*"}) {
        if (name.contains(QLatin1String(illegal)))
            return false;
    }
    return true;
}
} // namespace

FileButton::FileButton(QWidget *parent) : QPushButton(parent)
{
    font.setPixelSize(16);
    selectBox = QPixmap(":/img/ic_select_box.png");
    selectBoxDisabled = QIcon(selectBox).pixmap(22, 22, QIcon::Disabled, QIcon::Off);
    unselectBox = QPixmap(":/img/ic_unselect_box.png");
    fileWhite = QPixmap(":/img/ic_file_w.png");
    fileBlack = QPixmap(":/img/ic_file_b.png");
    fileGrey = QPixmap(":/img/ic_file_h.png");
    setAttribute(Qt::WA_Hover);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &FileButton::showMenu);

    editor = new QLineEdit(this);
    editor->setFont(font);
    editor->setStyleSheet("border:none;");
    editor->setGeometry(editorGeometry());
    editor->hide();
    editor->installEventFilter(this);
}

QString FileButton::entryText(const QString &filePath)
{
    const QString name = QFileInfo(filePath).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

void FileButton::buildMenu()
{
    // Built at the first request: a search rebuilds hundreds of entries per
    // keystroke, and a styled menu is the dearest part of an entry.
    menu = new QMenu(this);
    menu->setStyleSheet(contextMenuStyleSheet());
    const char *const keys[] = {"open", "del", "rename"};
    for (int i = 0; i < 3; ++i) {
        QAction *action = menu->addAction(QString());
        actions.insert(keys[i], action);
        connect(action, &QAction::triggered, this, [this, i] { emit fileBtnOptSignal(path, i); });
    }
    QAction *history = menu->addAction(QString());
    actions.insert("history", history);
    connect(history, &QAction::triggered, this, [this] { emit historyRequested(serialNumber); });
    QAction *audit = menu->addAction(QString());
    actions.insert("audit", audit);
    connect(audit, &QAction::triggered, this, [this] { emit auditTrailRequested(this); });
    retranslateMenu();
}

void FileButton::showMenu()
{
    if (selectModeFlag != 0)
        return;
    if (!menu)
        buildMenu();
    // Only a file on this computer is renamed or deleted; only an archived
    // entry knows its logger.
    actions.value("del")->setVisible(!path.isEmpty());
    actions.value("rename")->setVisible(!path.isEmpty());
    actions.value("history")->setVisible(!serialNumber.isEmpty());
    menu->exec(QCursor::pos());
}

void FileButton::retranslateMenu()
{
    actions.value("open")->setText(tr("打开"));
    actions.value("del")->setText(tr("删除"));
    actions.value("rename")->setText(tr("重命名"));
    actions.value("history")->setText(tr("历史记录"));
    actions.value("audit")->setText(tr("此记录的审计追踪"));
}

void FileButton::setArchiveInfo(const QString &sha256, const QString &serial,
                                const QString &detailLine, bool outOfRange)
{
    sha = sha256;
    serialNumber = serial;
    detail = detailLine;
    outOfRangeMark = outOfRange;
    update();
}

void FileButton::setSelectMode(int mode)
{
    if (mode == selectModeFlag)
        return;
    selectModeFlag = mode;
    update();
}

QRect FileButton::editorGeometry() const
{
    return QRect(30, 4, width() - 24, height() - 8);
}

void FileButton::startRename(bool dark)
{
    editor->setStyleSheet(dark ? "border:none;background: #202124;color:white;"
                               : "border:none;background: #eeeeee;color:black;");
    editor->setText(text());
    editor->show();
    editor->setFocus();
}

bool FileButton::isInUse() const
{
    return (menu && menu->isVisible()) || editor->isVisible();
}

bool FileButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor) {
        const bool returnPressed = event->type() == QEvent::KeyPress &&
                                   static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return;
        if (event->type() == QEvent::FocusOut || returnPressed) {
            // Hiding the editor takes its focus away too; only the first end counts.
            if (editor->isVisible())
                finishRename();
            if (returnPressed)
                return true;
        }
    }
    return QPushButton::eventFilter(watched, event);
}

void FileButton::finishRename()
{
    editor->hide();
    const QString newName = editor->text();
    if (!isAcceptableName(newName)) {
        // Parented to the window: the list may rebuild, deleting this entry or
        // giving it another file, while the box runs its own event loop.
        const QPointer<FileButton> self(this);
        const QString file = path;
        QMessageBox::critical(window(), tr("重命名"),
                              tr("命名错误") + "!\n" +
                                  tr("名称不能为空，也不能包含以下字符：/ \\ . : *"));
        // The typed name comes back to be corrected, not typed again.
        if (self && path == file) {
            editor->setText(newName);
            editor->show();
            editor->setFocus();
        }
        return;
    }
    if (newName != text())
        emit updateRename(newName, text());
}

void FileButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    const int w = width();
    const int h = height();
    auto drawCentred = [&](int x, const QPixmap &pixmap) {
        painter.drawPixmap(x, (h - pixmap.height()) / 2, pixmap);
    };
    const QRectF background(1, 1, w - 2, h - 2);
    int textX = 0;
    if (selectModeFlag != 0) {
        const QPixmap &box =
            !isChecked() ? unselectBox : (!isEnabled() ? selectBoxDisabled : selectBox);
        drawCentred(6, box);
        drawCentred(box.width() + 12, isEnabled() ? fileBlack : fileGrey);
        textX = box.width() + 12 + fileBlack.width() + 6;
    } else if (!isEnabled()) {
        drawCentred(6, fileGrey);
        painter.setPen(disabledText);
        textX = fileGrey.width() + 12;
    } else if (isChecked()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(selectedBackground);
        painter.drawRoundedRect(background, 4, 4);
        drawCentred(6, fileWhite);
        painter.setPen(Qt::white);
        textX = fileWhite.width() + 12;
    } else {
        QStyleOptionButton option;
        initStyleOption(&option);
        if (option.state & QStyle::State_MouseOver) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(hoverBackground);
            painter.drawRoundedRect(background, 4, 4);
        }
        drawCentred(6, fileBlack);
        painter.setPen(Qt::black);
        textX = fileBlack.width() + 12;
    }
    if (detail.isEmpty()) {
        const QString shown =
            painter.fontMetrics().elidedText(text(), Qt::ElideRight, w - textX - 2);
        painter.drawText(QRect(QPoint(textX, 0), QPoint(w - 3, h - 1)),
                         Qt::AlignLeft | Qt::AlignVCenter, shown);
        return;
    }
    // An archived entry: the name above, model and serial number below, and an
    // accent dot at the right end of a recording that left its range.
    const int markRoom = outOfRangeMark ? 16 : 0;
    const int split = h * 11 / 20;
    const QString shown =
        painter.fontMetrics().elidedText(text(), Qt::ElideRight, w - textX - 2 - markRoom);
    painter.drawText(QRect(QPoint(textX, 2), QPoint(w - 3 - markRoom, split)),
                     Qt::AlignLeft | Qt::AlignBottom, shown);
    const QColor nameColour = painter.pen().color();
    QFont small = font;
    small.setPixelSize(12);
    painter.setFont(small);
    painter.setPen(isChecked() && selectModeFlag == 0 ? QColor(200, 200, 204) : detailText);
    painter.drawText(
        QRect(QPoint(textX, split + 1), QPoint(w - 3 - markRoom, h - 3)),
        Qt::AlignLeft | Qt::AlignTop,
        painter.fontMetrics().elidedText(detail, Qt::ElideRight, w - textX - 2 - markRoom));
    painter.setPen(nameColour);
    if (outOfRangeMark) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(accent);
        painter.drawEllipse(QPointF(w - 12, h / 2.0), 4, 4);
    }
}

void FileButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    editor->setGeometry(editorGeometry());
}

void FileButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && menu)
        retranslateMenu();
    QPushButton::changeEvent(event);
}
