#include "dir_list.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <filesystem>

namespace pelomart {
namespace {

constexpr int kIndentPixels = 8;

QStringList subdirectoryNames(const QString& path) {
    namespace fs = std::filesystem;
    QStringList names;
    std::error_code error;
    fs::directory_iterator it(fs::path(QFile::encodeName(path).toStdString()),
                              fs::directory_options::skip_permission_denied, error);
    // A directory that cannot be read simply shows no subdirectories.
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            names.append(QFile::decodeName(it->path().filename().native().c_str()));
        }
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

// Qt's own folder images, which the style shows wherever the desktop's icon theme has
// none. Asking the style would load and search the whole icon theme, and letting Qt
// guess the images' format would load every image-format plugin: together a few
// milliseconds and over a megabyte at start-up.
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
            QImageReader reader(file, "png");
            reader.setAutoDetectImageFormat(false);
            icon.addPixmap(QPixmap::fromImage(reader.read()));
        }
    }
    return icon.isNull() ? QApplication::style()->standardIcon(open ? QStyle::SP_DirOpenIcon
                                                                    : QStyle::SP_DirIcon)
                         : icon;
}

class IndentDelegate : public QStyledItemDelegate {
public:
    IndentDelegate(const DirListModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + kIndentPixels * m_model->indentAt(index.row()));
        QStyledItemDelegate::paint(painter, indented, index);
    }

private:
    const DirListModel* m_model;
};

} // namespace

DirListModel::DirListModel(QObject* parent)
    : QAbstractListModel(parent), m_openIcon(folderIcon(true)), m_closedIcon(folderIcon(false)) {}

bool DirListModel::setPath(const QString& path) {
    const QFileInfo info(path);
    const bool isDirectory = info.isDir();
    if (isDirectory) {
        m_path = QDir::cleanPath(info.absoluteFilePath());
    }
    rebuild();
    return isDirectory;
}

void DirListModel::rebuild() {
    beginResetModel();
    m_rows.clear();
    const QString root = QDir(m_path).isRoot() ? m_path : QDir::rootPath();
    m_rows.push_back({root, root, 0});
    QString walked = root;
    const QStringList parts = m_path.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        walked = QDir(walked).filePath(part);
        m_rows.push_back({walked, part, int(m_rows.size())});
    }
    m_currentRow = int(m_rows.size()) - 1;
    const int childLevel = int(m_rows.size());
    const QDir current(m_path);
    for (const QString& name : subdirectoryNames(m_path)) {
        m_rows.push_back({current.filePath(name), name, childLevel});
    }
    endResetModel();
}

QString DirListModel::pathAt(int row) const {
    return row >= 0 && row < int(m_rows.size()) ? m_rows[std::size_t(row)].path : QString();
}

int DirListModel::indentAt(int row) const {
    return row >= 0 && row < int(m_rows.size()) ? m_rows[std::size_t(row)].level : 0;
}

int DirListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant DirListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_rows.size())) {
        return {};
    }
    const Row& row = m_rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.name;
    case Qt::ToolTipRole:
        return row.path;
    case Qt::DecorationRole:
        return index.row() <= m_currentRow ? m_openIcon : m_closedIcon;
    default:
        return {};
    }
}

DirList::DirList(const QString& startPath, QWidget* parent)
    : QListView(parent), m_model(new DirListModel(this)) {
    setModel(m_model);
    setItemDelegate(new IndentDelegate(m_model, this));
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    m_model->setPath(startPath);
    showCurrent();
    connect(this, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
}

void DirList::openRow(int row) {
    const QString wanted = m_model->pathAt(row);
    if (wanted.isEmpty()) {
        return;
    }
    m_model->setPath(wanted);
    showCurrent();
}

void DirList::showCurrent() {
    const QModelIndex current = m_model->index(m_model->currentRow());
    setCurrentIndex(current);
    scrollTo(current);
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
