#pragma once

#include <string>

class QWidget;

namespace dlslab::app {

/// The folder dialog titled "Выберите папку", opened at initial_folder when that is not empty.
/// On a choice, folder gets the chosen path with one trailing separator and the result is
/// true; on cancel folder is left alone and the result is false.
bool SelectFolder(std::string& folder, QWidget* owner, const std::string& initial_folder);

}  // namespace dlslab::app
