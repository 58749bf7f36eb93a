#pragma once

namespace lockvale {

enum class WindowMode { SingleFile, MultipleFiles, Text };

}  // namespace lockvale
