#pragma once

#include <optional>
#include <string>

#include "cmd/context.h"
#include "cmd/menu_table.h"

class QWidget;

namespace dlslab::app {

class TImportForm;
class TSetOrderForm;

/// The dialogs that ask for what a command needs before it runs: the file dialogs with the
/// command's filter, the import dialog, the order dialog (which keeps its last value), the
/// folder dialog and the game number.
class ArgumentDialogs {
 public:
  /// The dialogs are children of `owner` and live as long as it does.
  explicit ArgumentDialogs(QWidget* owner);

  /// What the entry's dialog asks for (empty for a command that asks nothing); nullopt when
  /// the user cancelled.
  [[nodiscard]] std::optional<std::string> ask(const cmd::MenuEntry& entry,
                                               const cmd::Context& ctx);

  [[nodiscard]] TSetOrderForm* set_order_form() const { return set_order_form_; }
  [[nodiscard]] TImportForm* import_form() const { return import_form_; }

 private:
  QWidget* owner_;
  TSetOrderForm* set_order_form_;
  TImportForm* import_form_;
};

}  // namespace dlslab::app
