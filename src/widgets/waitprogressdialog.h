// SPDX-License-Identifier: GPL-3.0-or-later
// WaitProgressDialog: a dark box with a spinner laid over its parent while an export runs.
#pragma once

#include <QWidget>

class QLabel;
class OkWidget;
class WaitCircleWidget;

class WaitProgressDialog : public QWidget
{
    Q_OBJECT
public:
    // Covers `parent` and follows its moves and resizes; show() lays it over them.
    explicit WaitProgressDialog(QWidget *parent = nullptr);

    QWidget *centerBox() const { return center; }
    QLabel *tipLabel() const { return label; }
    WaitCircleWidget *spinnerWidget() const { return spinner; }
    OkWidget *okWidget() const { return okMark; }

public slots:
    // Swaps the spinner for the tick and closes half a second later, so
    // that the tick is seen.
    void delSuccess();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void buildForm();
    void fitToParent();

    QString parentName;
    QWidget *center = nullptr;
    QLabel *label = nullptr;
    WaitCircleWidget *spinner = nullptr;
    OkWidget *okMark = nullptr;
};
