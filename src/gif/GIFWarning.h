#pragma once
// The sink through which the GIF coder reports irregular but readable data (severity 1).

#include <functional>
#include <string>

namespace corvane {

using TGIFWarningHook = std::function<void(const std::string& message)>;

}  // namespace corvane
