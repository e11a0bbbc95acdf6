#pragma once
// The sink through which the GIF coder reports irregular but readable data (wsIrregularData).

#include <functional>
#include <string>

namespace corvane {

using TGIFWarningHook = std::function<void(const std::string& message)>;

}  // namespace corvane
