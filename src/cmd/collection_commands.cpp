#include "cmd/collection_commands.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "collection/smart_square_collection.h"
#include "model/progress.h"
#include "model/square_catalogue.h"

namespace dlslab::cmd {
namespace {

void show_first_entry(Context& ctx) {
  ctx.spin_edit_value = 0;
  if (ctx.collection.Count() > 0)
    SpinEditChange(ctx, 0);
  else
    ctx.UpdateView();  // the number field's range still follows the collection
}

void report_failed_load(Context& ctx, const std::string& file_name, const std::string& why) {
  const std::string line =
      "Load collection: " + file_name + " not loaded, " + why + "; the collection is unchanged";
  ctx.log.Add(line);
  ctx.notify(line);
}

}  // namespace

void LoadCollectionMenuItemClick(Context& ctx, const std::string& file_name) {
  // Read into a collection of its own and swap only on success: a load that fails or is
  // cancelled leaves the browsed collection, its position and the board as they were.
  TSquaresCollection loaded;
  try {
    loaded.LoadFromFile_VelmoraFormat(file_name, true, true);
  } catch (const Cancelled&) {
    throw;
  } catch (const CollectionFormatError& e) {
    report_failed_load(ctx, file_name, "wrong file format at line " + std::to_string(e.line()));
    throw;
  } catch (const std::exception&) {
    report_failed_load(ctx, file_name, "the file cannot be read");
    throw;
  }
  ctx.collection = std::move(loaded);
  show_first_entry(ctx);
  ctx.log.Add(std::filesystem::path(file_name).filename().string() + ": " +
              std::to_string(ctx.collection.Count()) + " DLS loaded");
}

void SpinEditChange(Context& ctx, int value) {
  const int count = ctx.collection.Count();
  if (count == 0) return;
  value = std::clamp(value, 0, count - 1);
  ctx.spin_edit_value = value;
  if (ctx.model.GetOrder() != kOrder) ctx.model.SetOrder(kOrder);
  ctx.model.SetFirstSquare(ctx.collection.get_square(value));
  ctx.UpdateView();
}

void GoToBeginToolButtonClick(Context& ctx) { SpinEditChange(ctx, 0); }

void GoToEndToolButtonClick(Context& ctx) { SpinEditChange(ctx, ctx.collection.Count() - 1); }

void GoToPreviousToolButtonClick(Context& ctx) { SpinEditChange(ctx, ctx.spin_edit_value - 1); }

void GoToNextToolButtonClick(Context& ctx) { SpinEditChange(ctx, ctx.spin_edit_value + 1); }

void DbgButtonClick(Context& /*ctx*/) {
  TSmartSquareCollection squares;
  squares.Add({std::string(kSpecialSquares[0].digits), -1, 0});
  squares.Add({std::string(kSpecialSquares[1].digits), -1, 0});
}

}  // namespace dlslab::cmd
