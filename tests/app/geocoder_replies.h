#pragma once

#include "http_server.h"
#include "services.h"

#include <chrono>
#include <map>
#include <memory>
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

// Where the window finds a geocoding service on loopback at `port`.
TServices geocoderAt(int port, const std::string& key = "");

// A geocoding service on loopback that answers each position (the request's latlng) with the
// reply given for it, after `delay`, and other positions with 404.
std::unique_ptr<vistado::test::HttpServer> serviceAnswering(std::map<std::string, std::string> replies,
                                                             std::chrono::milliseconds delay = {});
