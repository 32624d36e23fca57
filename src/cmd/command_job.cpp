#include "cmd/command_job.h"

#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

#include "model/random.h"

namespace dlslab::cmd {

// What the command asked its shell to do, in order; replayed by apply() on the owner's thread.
// Pictures are painted there too, so that no painting happens off the owner's thread and no
// file appears before the command has ended well.
struct CommandJob::Effects {
  struct AddLine {
    std::string line;
  };
  struct ClearLog {};
  struct Message {
    std::string text;
  };
  struct Notice {
    std::string text;
  };
  struct SaveBitmap {
    std::string file_name;
  };
  struct SaveStatistics {
    std::shared_ptr<const CellHistograms> histograms;
    std::string file_name;
  };
  using Step = std::variant<AddLine, ClearLog, Message, Notice, SaveBitmap, SaveStatistics>;
  std::vector<Step> steps;
};

namespace {

/// The state a command may read or change, copied; the hooks are the job's own.
void copy_state(const Context& from, Context& to) {
  to.model = from.model;
  to.pandiagonal_counter = from.pandiagonal_counter;
  to.puzzle = from.puzzle;
  to.game = from.game;
  to.new_game_from_clock = from.new_game_from_clock;
  to.collection = from.collection;
  to.spin_edit_value = from.spin_edit_value;
  to.clock = from.clock;
  to.test_program_folder = from.test_program_folder;
}

}  // namespace

CommandJob::CommandJob(const MenuEntry& entry, std::string arg, const Context& source)
    : entry_(&entry),
      arg_(std::move(arg)),
      seed_(RandSeed),
      copy_(std::make_unique<Context>()),
      effects_(std::make_unique<Effects>()) {
  RandSeed = seed_;  // a new model draws its colours from the generator
  copy_state(source, *copy_);
  Effects& effects = *effects_;
  copy_->log.on_add = [&effects](const std::string& line) {
    effects.steps.emplace_back(Effects::AddLine{line});
  };
  copy_->log.on_clear = [&effects] { effects.steps.emplace_back(Effects::ClearLog{}); };
  if (source.show_message)
    copy_->show_message = [&effects](const std::string& text) {
      effects.steps.emplace_back(Effects::Message{text});
    };
  if (source.notice)
    copy_->notice = [&effects](const std::string& text) {
      effects.steps.emplace_back(Effects::Notice{text});
    };
  if (source.save_bitmap)
    copy_->save_bitmap = [&effects](const std::string& file_name) {
      effects.steps.emplace_back(Effects::SaveBitmap{file_name});
    };
  if (source.save_statistics_bitmap)
    copy_->save_statistics_bitmap = [&effects](const CellHistograms& histograms,
                                               const std::string& file_name) {
      effects.steps.emplace_back(
          Effects::SaveStatistics{std::make_shared<const CellHistograms>(histograms), file_name});
    };
}

CommandJob::~CommandJob() = default;

void CommandJob::run() {
  Outcome outcome = Outcome::kDone;
  // The generator's state is the thread's own: the command draws from the owner's, and the
  // owner takes the new state over only with the result.
  RandSeed = seed_;
  {
    const ProgressScope scope(progress_);
    try {
      if (entry_->handler != nullptr) entry_->handler(*copy_, arg_);
    } catch (const Cancelled&) {
      outcome = Outcome::kCancelled;
    } catch (...) {
      error_ = std::current_exception();
      outcome = Outcome::kFailed;
    }
  }
  seed_ = RandSeed;
  outcome_.store(outcome, std::memory_order_release);
}

void CommandJob::apply(Context& target) {
  const Outcome outcome = this->outcome();
  if (outcome == Outcome::kRunning) return;
  if (outcome == Outcome::kCancelled) {
    target.log.Add(cancelled_line(entry_->caption));
    return;
  }
  Context& copy = *copy_;
  RandSeed = seed_;
  target.model = std::move(copy.model);
  target.pandiagonal_counter = copy.pandiagonal_counter;
  target.puzzle = copy.puzzle;
  target.game = std::move(copy.game);
  target.new_game_from_clock = copy.new_game_from_clock;
  target.collection = std::move(copy.collection);
  target.spin_edit_value = copy.spin_edit_value;
  // The view follows the model now, as it did after every step of the command.
  target.UpdateView();
  for (const Effects::Step& step : effects_->steps) {
    if (const auto* add = std::get_if<Effects::AddLine>(&step)) {
      target.log.Add(add->line);
    } else if (std::holds_alternative<Effects::ClearLog>(step)) {
      target.log.Clear();
    } else if (const auto* message = std::get_if<Effects::Message>(&step)) {
      if (target.show_message) target.show_message(message->text);
    } else if (const auto* notice = std::get_if<Effects::Notice>(&step)) {
      target.notify(notice->text);
    } else if (const auto* bitmap = std::get_if<Effects::SaveBitmap>(&step)) {
      if (target.save_bitmap) target.save_bitmap(bitmap->file_name);
    } else if (const auto* stats = std::get_if<Effects::SaveStatistics>(&step)) {
      if (target.save_statistics_bitmap)
        target.save_statistics_bitmap(*stats->histograms, stats->file_name);
    }
  }
  effects_->steps.clear();
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

std::string CommandJob::cancelled_line(std::string_view caption) {
  if (caption.ends_with("...")) caption.remove_suffix(3);
  return std::string(caption) + ": cancelled";
}

}  // namespace dlslab::cmd
