// SPDX-License-Identifier: GPL-3.0-or-later
// Answering the window's modal dialogs from a test while their exec() waits.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace testsupport
{
// Polls for the next modal dialog of type D and hands it to `answer`, once.
template <class D> void answerNext(QObject *owner, const std::function<void(D *)> &answer)
{
    auto *poll = new QTimer(owner);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        answer(dialog);
    });
    poll->start();
}
} // namespace testsupport
