// The handlers with counts of what ran, for the tests and the fuzzers. The
// counts never steer the handlers.
#pragma once

#include "window/handlers.h"

namespace velmorida::testing {

struct HandlerCounts {
  int recalculations = 0;
  int correctionWrites = 0;  // texts replaced by the correction rule
  int deepestNesting = 0;    // change events running inside one another
};

class CountedHandlers : public Handlers {
 public:
  using Handlers::Handlers;

  // Every replacement the rule writes raises the box's change event again,
  // so a run inside another is one write.
  void CorrectInputField(InputBox box) override {
    if (nesting_ > 0) ++counts_.correctionWrites;
    ++nesting_;
    if (nesting_ > counts_.deepestNesting) counts_.deepestNesting = nesting_;
    Handlers::CorrectInputField(box);
    --nesting_;
  }

  const HandlerCounts& counts() const { return counts_; }

 protected:
  void Recompute() override {
    if (!ended()) ++counts_.recalculations;
    Handlers::Recompute();
  }

 private:
  int nesting_ = 0;
  HandlerCounts counts_;
};

}  // namespace velmorida::testing
