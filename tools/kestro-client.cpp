// Command-line test client: connects N headless players to a server for manual tests and load.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "Network/Packet.h"
#include "TestClient.h"

using TestClient::CTestClient;

namespace {

struct tOptions {
    std::string m_Host = "127.0.0.1";
    uint16_t m_Port = 22000;
    int m_Clients = 1;
    std::string m_Name = "Player";
    TestClient::tConnectRequest m_Request;
    bool m_bJoin = true;
    std::string m_Chat;
    std::string m_Command;
    std::string m_Parameters;
    int m_StaySeconds = 0;
    uint32_t m_TimeoutMs = 5000;
};

void PrintUsage() {
    printf("usage: kestro-client [-host H] [-port P] [-clients N] [-name BASE] [-password PW] [-game ID]\n"
           "                     [-version A.B.C.D] [-protocol V] [-nojoin] [-chat TEXT]\n"
           "                     [-command CMD [-parameters TEXT]] [-stay SECONDS] [-timeout MS]\n"
           "Connects N players named BASE1..BASEN at once, runs the handshake (and join), sends the chat\n"
           "line or command, stays connected while printing what arrives, then leaves.\n");
}

bool ParseOptions(int argc, char** argv, tOptions& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool bHasValue = i + 1 < argc;
        auto next = [&] { return std::string(argv[++i]); };
        if (arg == "-nojoin")
            options.m_bJoin = false;
        else if (!bHasValue)
            return false;
        else if (arg == "-host")
            options.m_Host = next();
        else if (arg == "-port")
            options.m_Port = static_cast<uint16_t>(atoi(argv[++i]));
        else if (arg == "-clients")
            options.m_Clients = atoi(argv[++i]);
        else if (arg == "-name")
            options.m_Name = next();
        else if (arg == "-password")
            options.m_Request.m_Password = next();
        else if (arg == "-game")
            options.m_Request.m_Game = static_cast<uint8_t>(atoi(argv[++i]));
        else if (arg == "-protocol")
            options.m_Request.m_Protocol = static_cast<uint32_t>(strtoul(argv[++i], nullptr, 10));
        else if (arg == "-version") {
            uint32_t* v = options.m_Request.m_Version;
            if (sscanf(argv[++i], "%u.%u.%u.%u", &v[0], &v[1], &v[2], &v[3]) < 1)
                return false;
        } else if (arg == "-chat")
            options.m_Chat = next();
        else if (arg == "-command")
            options.m_Command = next();
        else if (arg == "-parameters")
            options.m_Parameters = next();
        else if (arg == "-stay")
            options.m_StaySeconds = atoi(argv[++i]);
        else if (arg == "-timeout")
            options.m_TimeoutMs = static_cast<uint32_t>(atoi(argv[++i]));
        else
            return false;
    }
    return options.m_Clients > 0 && options.m_Clients <= 4000;
}

void ServiceAll(std::vector<std::unique_ptr<CTestClient>>& clients) {
    for (auto& pClient : clients)
        pClient->Service(0);
}

bool AllSettled(std::vector<std::unique_ptr<CTestClient>>& clients) {
    for (auto& pClient : clients) {
        if (!pClient->WasDisconnected() && pClient->CountReceived(PACKET_CLIENT_LIST) == 0)
            return false;
    }
    return true;
}

void WaitUntil(std::vector<std::unique_ptr<CTestClient>>& clients, uint32_t timeoutMs,
               bool (*done)(std::vector<std::unique_ptr<CTestClient>>&)) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done(clients) && std::chrono::steady_clock::now() < deadline) {
        ServiceAll(clients);
        clients.front()->Service(1);
    }
}

void PrintArrivals(CTestClient& client, const std::string& name, size_t& chatSeen) {
    auto& chat = client.Mirror().m_Chat;
    for (; chatSeen < chat.size(); ++chatSeen)
        printf("[%s] chat %08X: %s\n", name.c_str(), chat[chatSeen].m_Colour, chat[chatSeen].m_Text.c_str());
}

int Report(std::vector<std::unique_ptr<CTestClient>>& clients, const tOptions& options) {
    int accepted = 0;
    std::map<uint32_t, int> refused;
    for (size_t i = 0; i < clients.size(); ++i) {
        CTestClient& client = *clients[i];
        if (client.CountReceived(PACKET_CLIENT_LIST) > 0 && !client.WasDisconnected())
            ++accepted;
        else if (client.WasDisconnected())
            ++refused[client.GetDisconnectData()];
    }
    printf("%d of %d accepted", accepted, options.m_Clients);
    for (const auto& [code, count] : refused)
        printf(", %d refused with code %u", count, code);
    printf("\n");
    return accepted == options.m_Clients ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    tOptions options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage();
        return 2;
    }
    std::vector<std::unique_ptr<CTestClient>> clients;
    for (int i = 0; i < options.m_Clients; ++i) {
        clients.push_back(std::make_unique<CTestClient>());
        if (!clients.back()->Open(options.m_Host.c_str(), options.m_Port)) {
            fprintf(stderr, "cannot open a connection to %s:%u\n", options.m_Host.c_str(), options.m_Port);
            return 2;
        }
    }
    WaitUntil(clients, options.m_TimeoutMs, [](auto& all) {
        for (auto& c : all)
            if (!c->IsConnected() && !c->WasDisconnected())
                return false;
        return true;
    });
    for (int i = 0; i < options.m_Clients; ++i) {
        TestClient::tConnectRequest request = options.m_Request;
        request.m_Nickname = options.m_Clients == 1 ? options.m_Name : options.m_Name + std::to_string(i + 1);
        clients[i]->SendConnect(request);
    }
    WaitUntil(clients, options.m_TimeoutMs, &AllSettled);
    int status = Report(clients, options);
    for (auto& pClient : clients) {
        if (options.m_bJoin)
            pClient->SendJoin();
        if (!options.m_Chat.empty())
            pClient->SendChat(options.m_Chat);
        if (!options.m_Command.empty())
            pClient->SendCommand(options.m_Command, options.m_Parameters);
    }
    std::vector<size_t> chatSeen(clients.size(), 0);
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(options.m_StaySeconds);
    do {
        ServiceAll(clients);
        clients.front()->Service(5);
        for (size_t i = 0; i < clients.size(); ++i)
            PrintArrivals(*clients[i], clients[i]->Mirror().m_bAccepted ? std::to_string(clients[i]->GetIndex()) : "-",
                          chatSeen[i]);
    } while (std::chrono::steady_clock::now() < until);
    for (auto& pClient : clients)
        pClient->SendDisconnectMessage();
    WaitUntil(clients, 1000, [](auto& all) {
        for (auto& c : all)
            if (!c->WasDisconnected())
                return false;
        return true;
    });
    return status;
}
