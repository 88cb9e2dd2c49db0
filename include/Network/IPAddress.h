// An IPv4 peer address (family, port, address) and its text form.
#pragma once
#include <cstdint>
#include <string>

enum eAddressFamily : uint16_t {
    ADDRESS_FAMILY_IPV4 = 2,
};

class CIPAddress {
public:
    CIPAddress() = default;
    // host is in network byte order, as ENet keeps it; port in host byte order.
    CIPAddress(uint32_t host, uint16_t port) : m_Family(ADDRESS_FAMILY_IPV4), m_Port(port), m_Host(host) {}

    // Dotted IPv4 text without the port; false when the address cannot be rendered.
    bool ToString(std::string& text) const;

    uint16_t GetFamily() const { return m_Family; }
    uint16_t GetPort() const { return m_Port; }
    uint32_t GetHost() const { return m_Host; }

private:
    uint16_t m_Family = 0;
    uint16_t m_Port = 0;
    uint32_t m_Host = 0;
};
