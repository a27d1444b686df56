// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "dir_list.h"

#include "control_help.h"
#include "folders.h"
#include "message_boxes.h"
#include "paths.h"
#include "png_image.h"
#include "shown_text.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace pelomart {
namespace {

constexpr int kIndentPixels = 8;

// `path` (a directory) as an absolute path. ".." after a symbolic link leads to the parent
// of the link's target, which only the system knows ("a/link/.." need not be "a"): a path
// with ".." is resolved by the system. Any other is only made absolute and cleaned of "."
// and doubled separators, so that a folder entered through a link keeps the link's name.
std::optional<QByteArray> absoluteDirectory(const QByteArray& path) {
    if (path == ".." || path.startsWith("../") || path.contains("/../") || path.endsWith("/..")) {
        return resolvedFolder(path);
    }
    return absolutePath(path);
}

// A key whose bytes order names as QString::compare(Qt::CaseInsensitive) does: the name's
// characters case folded, and each UTF-16 unit of those written as UTF-8 would write a
// character of that value, which keeps the units' order (surrogates included) where
// plain UTF-8 would not. An ASCII name needs no decoding: its key is its lower case.
std::string sortKey(const std::string& name) {
    std::string key = name;
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) {
        for (char& c : key) {
            if (c >= 'A' && c <= 'Z') {
                c = char(c - 'A' + 'a');
            }
        }
        return key;
    }
    key.clear();
    const QString folded = QString::fromUtf8(name.data(), qsizetype(name.size())).toCaseFolded();
    for (const QChar character : folded) {
        const char16_t unit = character.unicode();
        if (unit < 0x80) {
            key += char(unit);
        } else if (unit < 0x800) {
            key += char(0xC0 | unit >> 6);
            key += char(0x80 | (unit & 0x3F));
        } else {
            key += char(0xE0 | unit >> 12);
            key += char(0x80 | (unit >> 6 & 0x3F));
            key += char(0x80 | (unit & 0x3F));
        }
    }
    return key;
}

// The names of the subdirectories (links to directories too), sorted by their keys; names
// with one key go by their bytes, which for UTF-8 is the order of their characters.
std::vector<std::string> subdirectoryNames(const QByteArray& path) {
    std::vector<std::pair<std::string, std::string>> names; // key, name
    // A directory that cannot be read simply shows no subdirectories.
    for (std::string& name : subfolderNames(path)) {
        std::string key = sortKey(name);
        names.emplace_back(std::move(key), std::move(name));
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (auto& name : names) {
        sorted.push_back(std::move(name.second));
    }
    return sorted;
}

// Qt's own folder images, which the style shows wherever the desktop's icon theme has
// none. Asking the style would load and search the whole icon theme: a few milliseconds
// and over a megabyte at start-up.
QIcon folderIcon(bool open) {
    QIcon icon;
    // 32 and 128 for high-density screens: an image is only ever scaled down, so the
    // folders stay sharp at any ratio up to 8.
    for (int size : {16, 32, 128}) {
        const QString file =
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/dir%1-%2.png")
                .arg(QLatin1String(open ? "open" : "closed"))
                .arg(size);
        if (QFile::exists(file)) {
            icon.addPixmap(QPixmap::fromImage(readPng(file)));
        }
    }
    return icon.isNull() ? QApplication::style()->standardIcon(open ? QStyle::SP_DirOpenIcon
                                                                    : QStyle::SP_DirIcon)
                         : icon;
}

// Draws each row indented by its depth, and the current directory's name in bold: with
// the open folder, that tells the directory where files are made from a row that a single
// click has only highlighted, which shows nothing but the selection colour.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(const DirListModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + kIndentPixels * m_model->indentAt(index.row()));
        QStyledItemDelegate::paint(painter, indented, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setBold(index.row() == m_model->currentRow());
    }

private:
    const DirListModel* m_model;
};

} // namespace

DirListModel::DirListModel(QObject* parent)
    : QAbstractListModel(parent), m_openIcon(folderIcon(true)), m_closedIcon(folderIcon(false)) {}

bool DirListModel::setPath(const QByteArray& path) {
    const std::optional<QByteArray> absolute =
        isFolder(path) ? absoluteDirectory(path) : std::nullopt;
    const bool entered = absolute.has_value();
    if (entered) {
        m_path = *absolute;
    } else if (m_path.isEmpty()) {
        // No start directory (the working one was removed): the list shows the first root
        // as its current directory, so that root is where a file is made.
        m_path = roots().front();
    }
    rebuild();
    return entered;
}

void DirListModel::rebuild() {
    beginResetModel();
    m_ancestors = foldersDownTo(m_path);
    m_children = subdirectoryNames(m_path);
    // The other drives follow the current one's tree, each a root of its own.
    m_roots.clear();
    for (QByteArray& root : roots()) {
        if (root != m_ancestors.front()) {
            m_roots.push_back(std::move(root));
        }
    }
    endResetModel();
}

QByteArrayView DirListModel::nameAt(int row) const {
    if (row < 0) {
        return lastName(m_ancestors.front());
    }
    if (std::size_t(row) < m_ancestors.size()) {
        return lastName(m_ancestors[std::size_t(row)]);
    }
    const std::size_t child = std::size_t(row) - m_ancestors.size();
    if (child >= m_children.size()) {
        return m_roots[child - m_children.size()];
    }
    const std::string& name = m_children[child];
    return QByteArrayView(name.data(), qsizetype(name.size()));
}

QByteArray DirListModel::pathAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    if (std::size_t(row) < m_ancestors.size()) {
        return m_ancestors[std::size_t(row)];
    }
    if (std::size_t(row) >= m_ancestors.size() + m_children.size()) {
        return m_roots[std::size_t(row) - m_ancestors.size() - m_children.size()];
    }
    return pathInFolder(m_path, nameAt(row).toByteArray());
}

int DirListModel::indentAt(int row) const {
    if (row < 0 || row >= rowCount() || std::size_t(row) >= m_ancestors.size() + m_children.size()) {
        return 0;
    }
    return std::min(row, int(m_ancestors.size()));
}

int DirListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_ancestors.size() + m_children.size() + m_roots.size());
}

QVariant DirListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return shownPath(nameAt(index.row()));
    case Qt::ToolTipRole:
        return literalToolTip(shownPath(pathAt(index.row()), kLongestShownPath));
    case Qt::DecorationRole:
        return index.row() <= currentRow() ? m_openIcon : m_closedIcon;
    default:
        return {};
    }
}

DirList::DirList(const QByteArray& startPath, QWidget* parent)
    : QListView(parent), m_model(new DirListModel(this)) {
    setModel(m_model);
    setItemDelegate(new RowDelegate(m_model, this));
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    enter(startPath);
    connect(this, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
}

bool DirList::setPath(const QByteArray& path) {
    // Listing the folder again costs what building the list did; opening the next file of
    // a mission need not pay it.
    if (path == m_model->path()) {
        return true;
    }
    return enter(path);
}

void DirList::openRow(int row) {
    const QByteArray wanted = m_model->pathAt(row);
    if (!wanted.isEmpty()) {
        enter(wanted);
    }
}

bool DirList::enter(const QByteArray& path) {
    const bool entered = m_model->setPath(path);
    const QModelIndex current = m_model->index(m_model->currentRow());
    setCurrentIndex(current);
    scrollTo(current);
    emit pathChanged();
    return entered;
}

void DirList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        openRow(currentIndex().row());
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace pelomart
