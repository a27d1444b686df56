// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QIcon>
#include <QListView>
#include <string>
#include <vector>

namespace pelomart {

// The rows of a directory list: the current directory's ancestors from the root down,
// the directory itself, then its subdirectories (hidden ones too) sorted by name. Paths
// are the system's bytes, whatever their encoding; only the rows' texts are decoded.
class DirListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit DirListModel(QObject* parent = nullptr);

    QByteArray path() const { return m_path; }
    // False, with nothing changed but a fresh listing, when `path` is not a directory.
    bool setPath(const QByteArray& path);
    QByteArray pathAt(int row) const;
    int currentRow() const { return int(m_ancestors.size()) - 1; }
    int indentAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QByteArrayView nameAt(int row) const;
    void rebuild();

    QByteArray m_path;
    std::vector<QByteArray> m_ancestors; // paths, from the root to m_path
    // Most names fit in a std::string without an allocation of their own.
    std::vector<std::string> m_children; // names
    std::vector<QByteArray> m_roots;      // the other drives' roots, after the children
    QIcon m_openIcon;
    QIcon m_closedIcon;
};

// Dir1: a single click only highlights; a double-click or Enter opens the highlighted
// directory. Opening changes nothing but the list's own path.
class DirList : public QListView {
    Q_OBJECT
public:
    explicit DirList(const QByteArray& startPath, QWidget* parent = nullptr);

    QByteArray path() const { return m_model->path(); }
    // Makes `path` the current directory, as a double-click on it would; false, with only
    // the current directory listed afresh, when `path` is no directory.
    bool setPath(const QByteArray& path);
    void openRow(int row);

signals:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool enter(const QByteArray& path);

    DirListModel* m_model;
};

} // namespace pelomart
