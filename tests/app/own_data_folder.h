#pragma once

#include <QByteArray>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

namespace dlslab::app {

/// Points the window's own files (the kept game, the best times) at an empty folder that
/// belongs to this test program alone and is removed when it ends, and returns the window's
/// data folder inside it. A folder shared with the user or with the test programs that run
/// beside this one would let a game kept by one of them put a question in front of this
/// window, where no one answers it.
inline QString use_own_data_folder() {
  static QTemporaryDir folder;
  qputenv("XDG_DATA_HOME", folder.path().toUtf8());
  QStandardPaths::setTestModeEnabled(false);
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

}  // namespace dlslab::app
