#include "places/positiontext.h"

#include <charconv>
#include <system_error>

namespace vistado {

namespace {

std::optional<double> decimalNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<Position> parsePositionText(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::optional<double> latitude = decimalNumber(text.substr(0, comma));
    const std::optional<double> longitude = decimalNumber(text.substr(comma + 1));
    if (!latitude || !longitude)
        return std::nullopt;
    return Position{*latitude, *longitude};
}

}  // namespace vistado
