#pragma once

namespace lockvale {}
