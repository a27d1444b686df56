// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "file_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace pelomart {
namespace {

// The local files a drag carries, as the system's bytes; empty when it carries anything
// else, such as text dragged from one box to another.
QList<QByteArray> draggedFiles(const QMimeData* data) {
    QList<QByteArray> files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        // The encoded form keeps a name's bytes that are not UTF-8.
        files << QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    }
    return files;
}

} // namespace

FileDrop::FileDrop(QWidget* window, Dropped dropped)
    : QObject(window), m_dropped(std::move(dropped)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->acceptDrops()) {
            child->installEventFilter(this);
        }
    }
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drag = static_cast<QDropEvent*>(event);
    const QList<QByteArray> files = draggedFiles(drag->mimeData());
    if (files.isEmpty()) {
        return QObject::eventFilter(watched, event);
    }
    drag->acceptProposedAction();
    if (type == QEvent::Drop) {
        // After the drop has ended: a message box inside it would keep the drag's source
        // waiting.
        QMetaObject::invokeMethod(
            this, [this, files] { m_dropped(files); }, Qt::QueuedConnection);
    }
    return true;
}

} // namespace pelomart
