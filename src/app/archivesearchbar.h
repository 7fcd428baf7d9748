// SPDX-License-Identifier: GPL-3.0-or-later
// The search above the recording list: text, a date span, "out of range only" and "not yet
// reviewed".
#pragma once

#include "archive/archiveentry.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QTimer;

// Tells the list when the user has paused typing or changed a filter; the
// list then asks the archive. An empty search (no text, no date span, every
// recording) means the list of the recordings folder.
class ArchiveSearchBar : public QWidget
{
    Q_OBJECT
public:
    // How long typing must pause before the search runs.
    static constexpr int debounceMs = 150;

    explicit ArchiveSearchBar(QWidget *parent = nullptr);

    // The filter the controls describe; the dates are whole wall-clock days.
    ArchiveFilter filter() const;
    bool isActive() const;
    // The date span is on and its first day lies after its last: the search
    // takes the days the other way round.
    bool isSpanReversed() const;
    // "yyyy-MM-dd" of the earlier (`first`) or the later day of the span.
    QString spanText(bool first) const;
    // Empties the text and switches every filter off.
    void clearSearch();

    QLineEdit *textEdit() const { return searchEdit; }
    QCheckBox *dateSwitch() const { return dateBox; }
    QDateEdit *fromDate() const { return fromEdit; }
    QDateEdit *toDate() const { return toEdit; }
    QCheckBox *outOfRangeSwitch() const { return outOfRangeBox; }
    QCheckBox *unsignedSwitch() const { return unsignedBox; }

signals:
    void searchChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QLineEdit *searchEdit;
    QCheckBox *dateBox;
    QDateEdit *fromEdit;
    QDateEdit *toEdit;
    QCheckBox *outOfRangeBox;
    QCheckBox *unsignedBox;
    QTimer *debounce;
};
