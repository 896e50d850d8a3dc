// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// One render's scratch folder, ".work-<UUID>" in the cache folder, removed with everything in
// it when the object goes. The folder stays locked (flock) while its owner lives, so a folder
// left by a quit or crash is told from a running job's by whether its lock can be taken.
class WorkFolder {
public:
    static constexpr const char* prefix = ".work-";

    // Throws the file error when the folder cannot be created or locked.
    explicit WorkFolder(const QString& parent);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const QString& path() const { return path_; }

    // Removes the work folders in `parent` that no living job holds.
    static void removeAbandoned(const QString& parent);

private:
    QString path_;
    int lock_ = -1;
};

}  // namespace kelvara
