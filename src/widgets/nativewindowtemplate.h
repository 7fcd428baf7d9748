// SPDX-License-Identifier: GPL-3.0-or-later
// NativeWindowTemplate: a frameless top-level window that still moves, resizes and maximises.
#pragma once

#include "widgets/framehittest.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cmath>

// Base is QMainWindow or QDialog. The window paints its own title area; the
// template turns presses on the border bands into resizes and presses on the
// title bar into moves, through the platform where it can and by hand where it
// refuses. A subclass that overrides event() or eventFilter() passes what it
// does not handle to the template's version.
template <class Base> class NativeWindowTemplate : public Base
{
public:
    explicit NativeWindowTemplate(QWidget *parent = nullptr) : Base(parent)
    {
        refreshTimer = new QTimer(this);
        refreshTimer->setSingleShot(true);
        refreshTimer->setInterval(0);
        QObject::connect(refreshTimer, &QTimer::timeout, this, [this] { refreshMask(); });
        applyWindowStyle();
    }

    ~NativeWindowTemplate() override
    {
        if (cursorOverridden)
            QApplication::restoreOverrideCursor();
    }

    void setResizeable(bool on)
    {
        resizeable = on;
        applyWindowStyle();
    }

    void setBorderWidth(int width) { borderWidth = width; }

    // Labels inside `bar` now drag the window too; labels added later do not.
    void setTitleBar(QWidget *bar)
    {
        titleBar = bar;
        if (!bar)
            return;
        const QList<QLabel *> labels = bar->findChildren<QLabel *>();
        for (QLabel *label : labels)
            whiteList.insert(label);
    }

    // What a press at `global` (logical screen coordinates) would do.
    int hitTest(const QPoint &global) const
    {
        const double ratio = this->devicePixelRatioF();
        const QRect frame = this->frameGeometry();
        FrameHitInput input;
        input.frame =
            QRect(toDevice(frame.topLeft(), ratio),
                  QSize(std::lround(frame.width() * ratio), std::lround(frame.height() * ratio)));
        input.pointer = toDevice(global, ratio);
        input.borderWidth = borderWidth;
        input.resizeable = resizeable;
        input.maximized = this->isMaximized();
        input.horizontallyResizable = this->minimumWidth() != this->maximumWidth();
        input.verticallyResizable = this->minimumHeight() != this->maximumHeight();
        input.devicePixelRatio = ratio;
        input.titleBar = titleBar.data();
        input.whiteList = whiteList;
        return frameHitTest(input);
    }

protected:
    bool event(QEvent *event) override
    {
        if (this->isWindow()) {
            switch (event->type()) {
            case QEvent::WinIdChange:
            case QEvent::Show:
                applyWindowStyle();
                break;
            case QEvent::ScreenChangeInternal:
                refreshMask();
                applyWindowStyle();
                break;
            case QEvent::WindowStateChange:
                windowStateChanged();
                break;
            default:
                break;
            }
        }
        return Base::event(event);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == watchedWindow && this->isWindow() && windowMouseEvent(event))
            return true;
        return Base::eventFilter(watched, event);
    }

    QPointer<QWidget> titleBar;
    QSet<QWidget *> whiteList;
    int borderWidth = 5;
    bool resizeable = true;
    QTimer *refreshTimer = nullptr;

private:
    // Rounds away from zero so that dividing by the ratio again and
    // truncating gives back the logical coordinate.
    static QPoint toDevice(const QPoint &p, double ratio)
    {
        const auto scale = [ratio](int v) {
            const double d = v * ratio;
            return static_cast<int>(v >= 0 ? std::ceil(d) : std::floor(d));
        };
        return {scale(p.x()), scale(p.y())};
    }

    void applyWindowStyle()
    {
        if (!this->isWindow())
            return;
        if (!this->windowFlags().testFlag(Qt::FramelessWindowHint)) {
            const bool wasVisible = this->isVisible();
            this->setWindowFlag(Qt::FramelessWindowHint, true);
            if (wasVisible)
                this->show();
        }
        QWindow *window = this->windowHandle();
        if (window && window != watchedWindow) {
            if (watchedWindow)
                watchedWindow->removeEventFilter(this);
            window->installEventFilter(this);
            watchedWindow = window;
        }
    }

    // Setting the whole rectangle as mask and putting the old one back makes
    // the window repaint everything, which a maximise or restore needs.
    void refreshMask()
    {
        const QRegion saved = this->mask();
        this->setMask(QRegion(0, 0, this->width(), this->height()));
        if (saved.isEmpty())
            this->clearMask();
        else
            this->setMask(saved);
    }

    void windowStateChanged()
    {
        const Qt::WindowStates state = this->windowState();
        if (state == Qt::WindowNoState) {
            // A window restored with its title above the desktop could no
            // longer be dragged back.
            const QScreen *screen = QGuiApplication::primaryScreen();
            const int top = screen ? screen->availableVirtualGeometry().top() : 0;
            const QRect frame = this->frameGeometry();
            if (frame.top() < top)
                this->move(frame.left(), top);
        }
        if (this->isVisible() && !(state & Qt::WindowMinimized))
            refreshTimer->start();
    }

    bool windowMouseEvent(QEvent *event)
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return pressed(static_cast<QMouseEvent *>(event));
        case QEvent::MouseButtonDblClick: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton || !resizeable ||
                hitTest(globalPointer(mouse)) != HitCaption)
                return false;
            if (this->isMaximized())
                this->showNormal();
            else
                this->showMaximized();
            return true;
        }
        case QEvent::MouseMove: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (dragCode != HitNowhere) {
                dragTo(globalPointer(mouse));
                return true;
            }
            if (mouse->buttons() == Qt::NoButton)
                showBorderCursor(hitTest(globalPointer(mouse)));
            return false;
        }
        case QEvent::MouseButtonRelease:
            if (dragCode == HitNowhere)
                return false;
            dragCode = HitNowhere;
            return true;
        case QEvent::Leave:
            showBorderCursor(HitNowhere);
            return false;
        default:
            return false;
        }
    }

    // The pointer in screen coordinates: the watched window's events are
    // relative to that window.
    QPoint globalPointer(const QMouseEvent *mouse) const
    {
        return watchedWindow->mapToGlobal(mouse->pos());
    }

    bool pressed(QMouseEvent *mouse)
    {
        if (mouse->button() != Qt::LeftButton)
            return false;
        const int code = hitTest(globalPointer(mouse));
        const Qt::Edges edges = edgesOfHit(code);
        if (code != HitCaption && !edges)
            return false;
        QWindow *window = this->windowHandle();
        const bool native = edges ? window->startSystemResize(edges) : window->startSystemMove();
        if (!native) {
            dragCode = code;
            dragStart = globalPointer(mouse);
            dragFrame = this->frameGeometry();
        }
        return true;
    }

    void dragTo(const QPoint &global)
    {
        const QPoint delta = global - dragStart;
        if (dragCode == HitCaption)
            this->move(dragFrame.topLeft() + delta);
        else
            this->setGeometry(resizedFrame(dragFrame, edgesOfHit(dragCode), delta,
                                           this->minimumSize(), this->maximumSize()));
    }

    void showBorderCursor(int code)
    {
        Qt::CursorShape shape = Qt::ArrowCursor;
        switch (code) {
        case HitLeft:
        case HitRight:
            shape = Qt::SizeHorCursor;
            break;
        case HitTop:
        case HitBottom:
            shape = Qt::SizeVerCursor;
            break;
        case HitTopLeft:
        case HitBottomRight:
            shape = Qt::SizeFDiagCursor;
            break;
        case HitTopRight:
        case HitBottomLeft:
            shape = Qt::SizeBDiagCursor;
            break;
        default:
            break;
        }
        const bool border = shape != Qt::ArrowCursor;
        if (border && cursorOverridden && shape == overrideShape)
            return;
        if (cursorOverridden) {
            QApplication::restoreOverrideCursor();
            cursorOverridden = false;
        }
        if (border) {
            QApplication::setOverrideCursor(shape);
            cursorOverridden = true;
            overrideShape = shape;
        }
    }

    QPointer<QWindow> watchedWindow;
    int dragCode = HitNowhere;
    QPoint dragStart;
    QRect dragFrame;
    bool cursorOverridden = false;
    Qt::CursorShape overrideShape = Qt::ArrowCursor;
};
