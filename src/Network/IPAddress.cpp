// Text form of IPv4 peer addresses.
#include "Network/IPAddress.h"
#include <arpa/inet.h>

bool CIPAddress::ToString(std::string& text) const {
    if (m_Family != ADDRESS_FAMILY_IPV4)
        return false;
    char buffer[INET_ADDRSTRLEN];
    in_addr address;
    address.s_addr = m_Host;
    if (!inet_ntop(AF_INET, &address, buffer, sizeof(buffer)))
        return false;
    text = buffer;
    return true;
}
