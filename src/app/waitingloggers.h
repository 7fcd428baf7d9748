// SPDX-License-Identifier: GPL-3.0-or-later
// WaitingLoggers: the loggers plugged in while another was served, and where each one sits.
#pragma once

#include <QVector>

// The transport opens a logger by its model and its index among the attached loggers of
// that model, in the device list's order, and those indices shift as loggers come and go.
// This keeps the indices of the waiting loggers, and of the open one, in step with the
// arrivals and removals the watcher reports. A removal does not say which logger left: it
// is taken to be the open one when that is of the same model (the user unplugs the logger
// that is done), otherwise the first one of the model that is neither open nor waiting.
class WaitingLoggers
{
public:
    struct Logger {
        int model = -1;
        int index = -1;
        bool operator==(const Logger &other) const
        {
            return model == other.model && index == other.index;
        }
    };

    // A logger of `model` arrived at `index`; it joins the queue when `waits` is set.
    void arrived(int model, int index, bool waits);
    // A logger of `model` left; `remaining` loggers of that model are still attached. Any
    // removal ends the connection, so afterwards no logger is open.
    void removed(int model, int remaining);
    // The logger the window has open, or none with model -1.
    void setOpen(int model, int index);

    bool isEmpty() const { return queue.isEmpty(); }
    int size() const { return queue.size(); }
    // The longest-waiting logger, taken out of the queue.
    Logger takeNext();
    void clear() { queue.clear(); }

    QVector<Logger> waiting() const { return queue; }
    Logger open() const { return openLogger; }

private:
    bool isWaitingAt(int model, int index) const;

    QVector<Logger> queue;
    Logger openLogger;
};
