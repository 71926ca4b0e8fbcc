#pragma once
// Percent escaping of strings for use in URLs, as the device's NSString does it.
#include <optional>
#include <string>

enum NSStringEncoding : unsigned { NSUTF8StringEncoding = 4 };

// Every byte of the UTF-8 text becomes "%XX" (upper-case hex) except these, which stay:
//   A-Z a-z 0-9 ! $ & ' ( ) * + , - . / : ; = ? @ _ ~ #
// "%" itself is escaped, so an escaped text is escaped again ("%20" -> "%2520").
std::string
stringByAddingPercentEscapesUsingEncoding(const std::string& text,
                                          NSStringEncoding encoding = NSUTF8StringEncoding);

// Replaces each "%XX" by its byte. Absent when an escape is malformed or the result is not
// valid UTF-8.
std::optional<std::string>
stringByReplacingPercentEscapesUsingEncoding(const std::string& text,
                                             NSStringEncoding encoding = NSUTF8StringEncoding);
