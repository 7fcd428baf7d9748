// SPDX-License-Identifier: GPL-3.0-or-later
// WaitingLoggers: the loggers plugged in while another was served, and where each one sits.
#include "app/waitingloggers.h"

void WaitingLoggers::arrived(int model, int index, bool waits)
{
    // The newcomer takes `index`; the loggers of its model from there on move up one place.
    for (Logger &logger : queue) {
        if (logger.model == model && logger.index >= index)
            ++logger.index;
    }
    if (openLogger.model == model && openLogger.index >= index)
        ++openLogger.index;
    if (waits)
        queue.append({model, index});
}

bool WaitingLoggers::isWaitingAt(int model, int index) const
{
    return queue.contains({model, index});
}

void WaitingLoggers::removed(int model, int remaining)
{
    int gone = -1;
    if (openLogger.model == model) {
        gone = openLogger.index;
    } else {
        for (int index = 0; index <= remaining && gone < 0; ++index) {
            if (!isWaitingAt(model, index))
                gone = index;
        }
        // Every logger of the model was waiting; the rest are still all waiting, whichever left.
        if (gone < 0)
            gone = remaining;
    }
    openLogger = Logger();
    queue.removeAll({model, gone});
    for (Logger &logger : queue) {
        if (logger.model == model && logger.index > gone)
            --logger.index;
    }
}

void WaitingLoggers::setOpen(int model, int index)
{
    openLogger = {model, index};
}

WaitingLoggers::Logger WaitingLoggers::takeNext()
{
    return queue.isEmpty() ? Logger() : queue.takeFirst();
}
