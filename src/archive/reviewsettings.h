// SPDX-License-Identifier: GPL-3.0-or-later
// The lists a review chooses from, kept in the archive: comment texts and signature meanings.
#pragma once

#include <QString>
#include <QVector>

// One text a reason or a corrective action can be chosen as, in both languages.
struct ReviewChoice {
    enum List { Reason, Action };
    QString text;
    QString textZh;

    bool operator==(const ReviewChoice &o) const { return text == o.text && textZh == o.textZh; }
};

// What a signature can mean. The archive's owner keeps the list; readers may
// sign only the meanings the owner allowed them.
struct SignatureMeaning {
    // The key that signatures record: "reviewed", "approved", "rejected"...
    QString meaning;
    QString title;
    QString titleZh;
    bool readerMaySign = false;
    // Approved and rejected stand until revoked: no other meaning may follow.
    bool final = false;

    bool operator==(const SignatureMeaning &o) const
    {
        return meaning == o.meaning && title == o.title && titleZh == o.titleZh &&
               readerMaySign == o.readerMaySign && final == o.final;
    }
};
