#include "geocoderservice.h"

#include <thread>

namespace vistado::test {

Services geocoderAt(int port, const std::string& key)
{
    return {"127.0.0.1:" + std::to_string(port), key, "", std::chrono::milliseconds(0)};
}

std::unique_ptr<HttpServer> serviceAnswering(std::map<std::string, std::string> replies,
                                                             std::chrono::milliseconds delay)
{
    return std::make_unique<HttpServer>([replies, delay](httplib::Server& routes) {
        routes.Get("/maps/api/geocode/xml", [replies, delay](const httplib::Request& request, httplib::Response& response) {
            std::this_thread::sleep_for(delay);
            const auto found = replies.find(request.get_param_value("latlng"));
            if (found == replies.end())
                response.status = 404;
            else
                response.set_content(found->second, "application/xml; charset=UTF-8");
        });
    });
}

}  // namespace vistado::test
