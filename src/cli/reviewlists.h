// SPDX-License-Identifier: GPL-3.0-or-later
// The archive's review lists as JSON: the reasons and corrective actions a comment is chosen
// from, and the meanings a signature can have.
#pragma once

#include "archive/reviewsettings.h"

#include <QJsonObject>
#include <QVector>

struct ReviewLists {
    QVector<ReviewChoice> reasons;
    QVector<ReviewChoice> actions;
    QVector<SignatureMeaning> meanings;
};

namespace reviewlists
{
// {"reasons": [{"text", "text_zh"}], "actions": [...], "meanings": [{"meaning", "title",
// "title_zh", "reader_may_sign", "final"}]}.
QJsonObject toJson(const ReviewLists &lists);
// The lists `json` names, over `lists`; a key left out keeps its list.
// False with `why` for a list that is not an array of such objects.
bool fromJson(const QJsonObject &json, ReviewLists *lists, QString *why);
} // namespace reviewlists
