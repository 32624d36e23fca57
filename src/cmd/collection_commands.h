#pragma once

#include <string>

#include "cmd/context.h"

// The browsing collection: "Load collection...", the tool bar's number field and buttons, and
// the debug button.
namespace dlslab::cmd {

/// Replaces the browsing collection by the squares of a collection file (normalized, repeats
/// counted) and shows its first entry. A file that cannot be read or breaks off changes
/// nothing: the log names the file and the line, and the error is rethrown.
void LoadCollectionMenuItemClick(Context& ctx, const std::string& file_name);

/// Shows entry `value` of the browsing collection, clamped to 0..Count-1, as the model's first
/// square; the number field takes the clamped value. An empty collection shows nothing.
void SpinEditChange(Context& ctx, int value);
void GoToBeginToolButtonClick(Context& ctx);
void GoToEndToolButtonClick(Context& ctx);
void GoToPreviousToolButtonClick(Context& ctx);
void GoToNextToolButtonClick(Context& ctx);

/// Builds a small smart-square list from two embedded squares and drops it again.
void DbgButtonClick(Context& ctx);

}  // namespace dlslab::cmd
