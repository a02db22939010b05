#pragma once

#include "httpserver.h"
#include "app/services.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace vistado::test {

// Where the window finds a geocoding service on loopback at `port`, asked without pauses
// between the requests.
Services geocoderAt(int port, const std::string& key = "");

// A geocoding service on loopback that answers each position (the request's latlng) with the
// reply given for it, after `delay`, and other positions with 404.
std::unique_ptr<HttpServer> serviceAnswering(std::map<std::string, std::string> replies,
                                                             std::chrono::milliseconds delay = {});

}  // namespace vistado::test
