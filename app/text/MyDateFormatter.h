#pragma once
// Date texts for display through one shared formatter. Each operation sets the pattern (and
// the local time zone) it needs first, so none depends on what another left behind.
// Main thread only: the shared formatter is not guarded.
#include "platform/foundation/Json.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDateFormatter.h"

#include <memory>
#include <optional>
#include <string>

namespace MyDateFormatter {

// The shared formatter, made on the first call and kept for the whole run.
std::shared_ptr<NSDateFormatter> getDateFormatter();

void setLocaleTimeZone(NSDateFormatter& self);
// "3分钟前", "Yesterday21:40", "5月8日 08:05": how long ago or which day, relative to now.
std::string simpleTextForDate(NSDateFormatter& self, NSDate date, bool needTime);

std::string simleStringForDate(NSDate date);
std::string lastUpdateTimeStringForDateWithPastHHMM(NSDate date);
std::string lastUpdateTimeStringForDate(NSDate date);

// Absent for no date.
std::optional<std::string> standardyyyyMMddFormatedString(std::optional<NSDate> date);
std::string standardyyyyMMddHHmmFormatedString(NSDate date);
std::string standardyyyyMMddHHmmssFormatedString(NSDate date);
std::string standardYMDFormatedStringLeadigZero(NSDate date);
std::string standardMDFormatedStringCN(NSDate date);
std::string standardYMDFormatedStringLeadigZeroCN(NSDate date);
// "02:05" for 125.7: whole seconds, truncated.
std::string mmssFromSeconds(double seconds);
std::string journalReleasedDate(NSDate date);
std::string weekDay(NSDate date);

// "yyyy-MM-dd HH:mm:ss" in the local time zone; absent for anything else (or a non-text).
std::optional<NSDate> dateFromyyyyMMddHHmmssStr(const std::string& text);
std::optional<NSDate> dateFromyyyyMMddHHmmssStr(const Json& object);

} // namespace MyDateFormatter
