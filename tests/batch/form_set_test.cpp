#include "batch/form_set.h"

#include <gtest/gtest.h>

namespace dlslab::batch {
namespace {

Digits form_number(std::uint32_t k) {
  Digits form{};
  form.fill('0');
  for (int i = 0; k != 0; ++i, k /= 10) form[99 - i] = static_cast<char>('0' + k % 10);
  return form;
}

// The index grows many times over while the forms pile up; no form may fall out of it, the
// first one least of all, or its later copies would count as new forms.
TEST(FormSet, EveryFormStaysFoundWhileTheIndexGrows) {
  for (const std::size_t reserved : {std::size_t{0}, std::size_t{100}, std::size_t{3000}}) {
    SCOPED_TRACE(reserved);
    FormSet forms;
    forms.reserve(reserved);
    constexpr std::uint32_t kForms = 40000;  // more than two chunks of records
    for (std::uint32_t k = 0; k < kForms; ++k) {
      const Digits form = form_number(k);
      forms.add(form, FormSet::hash(form));
      if (k % 997 == 0) {  // the first form again, at every size of the index
        const Digits first = form_number(0);
        forms.add(first, FormSet::hash(first));
      }
    }
    for (std::uint32_t k = kForms; k-- > 0;) {
      const Digits form = form_number(k);
      forms.add(form, FormSet::hash(form), k % 3 + 1);
    }
    ASSERT_EQ(forms.size(), kForms);
    EXPECT_EQ(forms.count(0), 1 + (kForms + 996) / 997 + 1);
    for (std::uint32_t k = 1; k < kForms; ++k) {
      ASSERT_EQ(forms.form(k), form_number(k)) << k;
      ASSERT_EQ(forms.count(k), 1 + k % 3 + 1) << k;
    }
  }
}

}  // namespace
}  // namespace dlslab::batch
