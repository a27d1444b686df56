// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "did_you_mean.h"

#include "controls.h"
#include "shown_text.h"

#include <algorithm>

namespace pelomart::chg {
namespace {

// Whether the two differ, case aside, by at most one letter put in, left out or changed.
bool nearlyEqual(QStringView a, QStringView b) {
    if (a.size() > b.size()) {
        std::swap(a, b);
    }
    if (b.size() - a.size() > 1) {
        return false;
    }
    auto same = [](QChar x, QChar y) { return x.toCaseFolded() == y.toCaseFolded(); };
    qsizetype i = 0;
    while (i < a.size() && same(a[i], b[i])) {
        ++i;
    }
    // Past the first difference the rest must match, after the changed letter when the
    // lengths are equal, or after the one letter that the longer has in addition.
    const qsizetype skip = a.size() == b.size() ? 1 : 0;
    return std::equal(a.begin() + std::min(i + skip, a.size()), a.end(),
                      b.begin() + std::min(i + 1, b.size()), b.end(), same);
}

} // namespace

QString didYouMean(const QString& given, const QStringList& known) {
    QStringList near;
    for (const QString& name : known) {
        if (name.compare(given, Qt::CaseInsensitive) == 0) {
            // Only the case differs: "X" means x, though it is one letter from y and z too.
            near = {name};
            break;
        }
        if (nearlyEqual(given, name)) {
            near << name;
        }
    }
    // Several near names ("w" for x, y and z) would be a guess, not a help.
    if (near.size() != 1) {
        return {};
    }
    return QStringLiteral("; did you mean \"%1\"?").arg(near.front());
}

QString unknownKey(const QString& key) {
    QStringList names;
    for (const ControlInfo& field : kEditorFields) {
        names << QLatin1String(field.name);
    }
    return QStringLiteral("unknown key \"%1\"").arg(shownValue(key)) + didYouMean(key, names);
}

} // namespace pelomart::chg
