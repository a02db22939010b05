#include "geocoderreplies.h"

const char* const kReplyOkSeveralResults = R"(<?xml version="1.0" encoding="UTF-8"?>
<GeocodeResponse>
 <status>OK</status>
 <result>
  <type>street_address</type>
  <formatted_address>Marktgasse 12, 80331 Musterstadt, Deutschland</formatted_address>
  <address_component>
   <long_name>12</long_name>
   <short_name>12</short_name>
   <type>street_number</type>
  </address_component>
  <address_component>
   <long_name>Marktgasse</long_name>
   <short_name>Marktgasse</short_name>
   <type>route</type>
  </address_component>
  <address_component>
   <long_name>Altstadt</long_name>
   <short_name>Altstadt</short_name>
   <type>sublocality_level_1</type>
   <type>sublocality</type>
   <type>political</type>
  </address_component>
  <address_component>
   <long_name>Musterstadt</long_name>
   <short_name>Musterstadt</short_name>
   <type>locality</type>
   <type>political</type>
  </address_component>
  <address_component>
   <long_name>Oberland</long_name>
   <short_name>OL</short_name>
   <type>administrative_area_level_1</type>
   <type>political</type>
  </address_component>
  <address_component>
   <long_name>Deutschland</long_name>
   <short_name>DE</short_name>
   <type>country</type>
   <type>political</type>
  </address_component>
  <address_component>
   <long_name>80331</long_name>
   <short_name>80331</short_name>
   <type>postal_code</type>
  </address_component>
  <geometry>
   <location>
    <lat>48.1371540</lat>
    <lng>11.5761240</lng>
   </location>
   <location_type>ROOFTOP</location_type>
  </geometry>
  <place_id>ChIJ2V-Mo_l1nkcRfZixfUq4DAE</place_id>
 </result>
 <result>
  <type>sublocality_level_1</type>
  <type>sublocality</type>
  <type>political</type>
  <formatted_address>Altstadt, Musterstadt, Deutschland</formatted_address>
  <address_component>
   <long_name>Altstadt</long_name>
   <short_name>Altstadt</short_name>
   <type>sublocality_level_1</type>
  </address_component>
  <address_component>
   <long_name>Musterstadt</long_name>
   <short_name>Musterstadt</short_name>
   <type>locality</type>
  </address_component>
 </result>
</GeocodeResponse>
)";

const char* const kReplyZeroResults = R"(<?xml version="1.0" encoding="UTF-8"?>
<GeocodeResponse>
 <status>ZERO_RESULTS</status>
</GeocodeResponse>
)";

const char* const kReplyRequestDenied = R"(<?xml version="1.0" encoding="UTF-8"?>
<GeocodeResponse>
 <status>REQUEST_DENIED</status>
 <error_message>You must use an API key to authenticate each request to Google Maps Platform APIs. For additional information, please refer to http://g.co/dev/maps-no-account</error_message>
</GeocodeResponse>
)";

std::string replyOk(const std::vector<std::string>& names)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GeocodeResponse>\n <status>OK</status>\n <result>\n";
    for (const std::string& name : names) {
        xml += "  <address_component>\n";
        xml += "   <long_name>" + name + "</long_name>\n";
        xml += "   <short_name>" + name + "</short_name>\n";
        xml += "   <type>political</type>\n";
        xml += "  </address_component>\n";
    }
    xml += " </result>\n</GeocodeResponse>\n";
    return xml;
}
