// A running server process with a game port, and test clients that connect to it.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "Network/Packet.h"
#include "ServerProcess.h"
#include "TestClient.h"

namespace KestroTest {

constexpr uint32_t CLIENT_WAIT_MS = 5000;

// Starts the real server with the configuration keys, on free ports, optionally multithreaded.
class CGameServer {
public:
    bool Start(const std::string& keys, bool bMultithreaded) {
        std::vector<uint16_t> ports = PickFreePorts(2);
        m_Port = ports[0];
        m_Process.WriteConfig(ServerXml("<port>" + std::to_string(ports[0]) + "</port><httpport>" +
                                        std::to_string(ports[1]) + "</httpport>" + keys));
        std::vector<std::string> args = {"-noinput"};
        if (bMultithreaded)
            args.push_back("-multithreaded");
        return m_Process.Start(args) && m_Process.WaitForLine("Server is now listening");
    }

    // A client with its ENet connection up (not yet through the handshake).
    std::unique_ptr<TestClient::CTestClient> Open() {
        auto pClient = std::make_unique<TestClient::CTestClient>();
        EXPECT_TRUE(pClient->Connect("127.0.0.1", m_Port, CLIENT_WAIT_MS)) << m_Process.Output();
        return pClient;
    }

    // A client through the handshake under that name (and joined when asked).
    std::unique_ptr<TestClient::CTestClient> Player(const std::string& name, bool bJoin = true) {
        auto pClient = Open();
        TestClient::tConnectRequest request = m_Request;
        request.m_Nickname = name;
        EXPECT_TRUE(pClient->Handshake(request, CLIENT_WAIT_MS)) << name << "\n" << m_Process.Output();
        if (bJoin) {
            pClient->SendJoin();
            EXPECT_TRUE(pClient->WaitForMessage(PACKET_JOIN_COMPLETE, CLIENT_WAIT_MS)) << name;
        }
        return pClient;
    }

    CServerProcess m_Process;
    uint16_t m_Port = 0;
    TestClient::tConnectRequest m_Request;  // what Player() sends, apart from the name
};

// Services every client a little, so that none of them times out while a test waits on another.
inline void ServiceAll(const std::vector<TestClient::CTestClient*>& clients) {
    for (TestClient::CTestClient* pClient : clients)
        pClient->Service(1);
}

}  // namespace KestroTest
