// The files used last, most recent first: the ten last opened or saved under
// a new name. The list is kept in the shell's settings store, so every window
// and every later run sees it.
#pragma once

#include <QStringList>

class RecentFiles {
public:
    static constexpr int kLimit = 10;

    // The list as the settings store holds it.
    RecentFiles();

    const QStringList &Paths() const { return paths_; }
    // `path` to the top, once; the oldest beyond the limit drops off.
    void Add(const QString &path);
    void Remove(const QString &path);
    void Clear();

private:
    void Load();
    void Store() const;

    QStringList paths_;
};
