#pragma once

#include <string>
#include <vector>

// Replies of the geocoding service in its XML form, as it sends them.

// Status OK with two results; its <long_name> lines name, in order, 12, Marktgasse,
// Altstadt, Musterstadt, Oberland, Deutschland, 80331, then the second result's names.
extern const char* const kReplyOkSeveralResults;
extern const char* const kReplyZeroResults;
extern const char* const kReplyRequestDenied;

// Status OK with one result whose address components carry `names` in order.
std::string replyOk(const std::vector<std::string>& names);
