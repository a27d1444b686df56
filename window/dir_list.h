#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QListView>
#include <vector>

namespace pelomart {

// The rows of a directory list: the current directory's ancestors from the root down,
// the directory itself, then its subdirectories (hidden ones too) sorted by name.
class DirListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit DirListModel(QObject* parent = nullptr);

    QString path() const { return m_path; }
    // False, with nothing changed but a fresh listing, when `path` is not a directory.
    bool setPath(const QString& path);
    QString pathAt(int row) const;
    int currentRow() const { return m_currentRow; }
    int indentAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Row {
        QString path;
        QString name;
        int level;
    };
    void rebuild();

    QString m_path;
    std::vector<Row> m_rows;
    int m_currentRow = 0;
    QIcon m_openIcon;
    QIcon m_closedIcon;
};

// Dir1: a single click only highlights; a double-click or Enter opens the highlighted
// directory. Opening changes nothing but the list's own path.
class DirList : public QListView {
    Q_OBJECT
public:
    explicit DirList(const QString& startPath, QWidget* parent = nullptr);

    QString path() const { return m_model->path(); }
    void openRow(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showCurrent();

    DirListModel* m_model;
};

} // namespace pelomart
