// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>

class QWidget;

namespace pelomart {

// Takes a drag of local files wherever it enters the window, over the boxes too, which
// would take a dragged file as the text of its path. Once the drop has ended, `dropped`
// gets the files as the system's bytes. A drag of anything else (text dragged from one box
// to another) goes on as before.
class FileDrop : public QObject {
    Q_OBJECT
public:
    using Dropped = std::function<void(const QList<QByteArray>& files)>;
    // Call it once the window's controls exist.
    FileDrop(QWidget* window, Dropped dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dropped m_dropped;
};

} // namespace pelomart
