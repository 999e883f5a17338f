#pragma once
// The d:m:s colon text of the DegMinSec notation ("46:30:05") and its two conversions.

#include <string>
#include <string_view>

namespace velmaro {

// Reads a d:m:s text by position, not by splitting: degrees are the LeadingNumber of the text up to
// and including the first ":", minutes the two characters after it, seconds the last two characters
// of the whole text. Each field is rounded half-to-even to a 16-bit integer; a field outside
// -32768..32767 counts as 0. Result: (degrees + minutes / 60) + seconds / 3600, degrees signed and
// minutes and seconds always added, so "-12:30:00" is -11.5. Never fails: any text yields a number.
double Degre2Decimal(std::string_view InputXY);

// Decimal degrees to "d:mm:ss": floored degrees, then minutes and seconds each floored (cut, never
// rounded, so a value never reads 60). Minutes and seconds always have two digits ("7:05:09"), so
// Degre2Decimal reads the seconds back instead of taking ":9" as 0. Because of the cut, a value just
// below a whole second in double arithmetic is written one second lower ("11:21:48" read and written
// again gives "11:21:47"). A value that is no number is written "0:00:00".
std::string Decimal2Degre(double decim);

}  // namespace velmaro
