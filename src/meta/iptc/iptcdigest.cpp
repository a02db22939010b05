#include "meta/iptc/iptcdigest.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace vistado {

std::string iptcDigest(std::string_view iimData)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(iimData.data(), iimData.size(), digest, &size, EVP_md5(), nullptr) != 1)
        throw std::runtime_error("MD5 not available");
    return std::string(reinterpret_cast<const char*>(digest), size);
}

}  // namespace vistado
