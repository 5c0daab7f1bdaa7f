#include "clean/run_context.h"

namespace clean {

int FitScrollWidth(int width, const ui::ListBox& list) {
  const int range = list.HorizontalExtent();
  return range < width - 10 ? width + 10 : range;
}

void RunContext::Report(const std::string& line) {
  report_.Add(line);
  report_.SetHorizontalExtent(FitScrollWidth(report_.TextWidth(line), report_));
}

}  // namespace clean
