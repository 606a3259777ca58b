// What every .reg file must survive: read it, write what was read back in the
// file's own format, read that again, and the same keys and values come out.
// Shared by the fuzz target and the native replay of the saved inputs.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::test {

// "" when the bytes do not parse (an error message is all a bad file gives)
// or when the second reading matches the first; otherwise what differs.
std::string RegRoundTripDifference(std::string_view bytes);

}  // namespace vantrel::test
