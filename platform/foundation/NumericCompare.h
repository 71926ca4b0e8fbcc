#pragma once
// Ordering of two strings where runs of ASCII digits compare by their numeric value and
// everything else by UTF-16 code unit: "1.10" > "1.9", "2" < "10", "2.0" > "1.9.9".
// Answers -1 (ascending: a before b), 0 (same) or 1 (descending: a after b).
#include <string_view>

// Runs that are equal by value are the same even when their leading zeros differ ("01" and
// "1"); when one string is a prefix of the other, the shorter comes first.
int compareNumeric(std::string_view a, std::string_view b);
