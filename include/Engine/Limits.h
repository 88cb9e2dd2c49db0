// Every protocol, resource and script limit of the server, in one place.
#pragma once
#include <cstddef>
#include <cstdint>

namespace Ferrox3D {

// Logging
constexpr size_t LOG_MESSAGE_BUFFER = 4096;       // a formatted log message is cut to this
constexpr size_t LOG_TIMESTAMP_FORMAT_MAX = 63;   // strftime format of log lines
constexpr size_t LOG_TIMESTAMP_BUFFER = 512;

// Configuration
constexpr size_t CONFIG_SHORT_TEXT_MAX = 63;      // short text keys are cut to this
constexpr int MAX_PLAYERS_LIMIT = 127;            // highest configurable player limit
constexpr size_t CLIENT_SLOT_COUNT = 256;         // client slot table; slot 255 is the console
constexpr size_t CONSOLE_CLIENT_SLOT = 255;

// Streams and wire values
constexpr int VARINT_MAX_BYTES = 5;               // a varint of more bytes is malformed
constexpr uint32_t PACKET_MAGIC = 0x4B573402;
constexpr size_t PACKET_HEADER_SIZE = 8;
constexpr size_t UNLIMITED_STREAM_INLINE = 256;   // packets up to this size need no heap
constexpr size_t MAX_INCOMING_PACKET = 1024 * 1024;  // largest payload a peer may send
constexpr size_t MAX_WIRE_STRING = 1024 * 1024;      // largest string inside a wire value
constexpr size_t MAX_PEER_WAITING_DATA = 4 * 1024 * 1024;  // buffered incoming data of one peer
constexpr int MAX_VALUE_DEPTH = 32;               // nesting of arrays and maps in a wire value
constexpr size_t MAX_WIRE_ARRAY_ELEMENTS = 255;   // array counts are one byte on the wire

// Transport and handshake
constexpr size_t MAX_NET_PEERS = 4095;              // ENet peers of the game port
constexpr size_t MAX_NET_CHANNELS = 255;            // channels per connection
constexpr uint32_t NETWORK_THREAD_INTERVAL_MS = 5;  // the network thread services the host this often
constexpr size_t MAX_NET_EVENTS_PER_PASS = 65536;   // events taken from the host in one servicing
constexpr uint32_t HANDSHAKE_TIMEOUT_MS = 15000;    // a peer must send its connect message by then
constexpr uint32_t SHUTDOWN_GOODBYE_MS = 1000;      // how long shutdown waits for disconnects to leave
constexpr uint32_t PROTOCOL_VERSION = 29;
constexpr size_t MAX_NICKNAME_LENGTH = 31;
constexpr size_t MAX_PASSWORD_LENGTH = 4096;        // longest password text read from a connect message
constexpr size_t MAX_CLIENT_DATA_ENTRIES = 65535;   // entry count is a uint16 on the wire

// Console
constexpr size_t CONSOLE_LINE_MAX = 255;          // longest console command line in bytes
constexpr size_t CONSOLE_READ_BUFFER = 4096;      // the input thread reads at most 4095 bytes per line
constexpr size_t COMMAND_PARAMETERS_MAX = 255;    // longest parameter text a command handler receives

// Chat, commands, network events and keys from clients
constexpr uint32_t MAX_CHAT_LENGTH = 4096;        // bytes of one chat line
constexpr uint32_t MAX_COMMAND_LENGTH = 4096;     // bytes of a command name or its parameters on the wire
constexpr size_t MAX_NETWORK_EVENT_NAME = 4096;   // bytes of a network event name
constexpr uint32_t MALFORMED_WARNINGS_PER_CLIENT = 8;  // warnings logged per client about bad messages

// Scripting
constexpr size_t LAST_ERROR_BUFFER = 1024;        // the engine's last error text
constexpr size_t TIMER_SLOT_COUNT = 4096;
constexpr double MAX_TIMER_DELAY_MS = 2147483647.0;  // about 24.8 days; a longer delay is refused
constexpr int MAX_EVENT_NESTING = 64;             // events triggered from inside handlers, all types together
constexpr size_t MAX_SCRIPT_FILE_SIZE = 16 * 1024 * 1024;  // a larger script file is refused
constexpr size_t MAX_CLIENT_FILE_NAME = 255;      // client file names are cut to this many bytes
constexpr uint32_t JS_HEAP_LIMIT = 32 * 1024 * 1024;       // JavaScript heap of all resources
constexpr uint32_t JS_NURSERY_LIMIT = 16 * 1024 * 1024;
constexpr size_t JS_NATIVE_STACK_QUOTA = 1024 * 1024;      // native stack JavaScript may use, at most
constexpr int JS_MAX_VALUE_DEPTH = 64;                     // nesting of arrays/objects converted to values

// Archives and chunk files
constexpr int MAX_ELEMENT_TREE_DEPTH = 256;       // nesting of XML and chunk element trees
constexpr uint64_t MAX_CHUNK_FILE_INFLATED = 64ull * 1024 * 1024;  // a compressed chunk body inflates to at most this
constexpr uint64_t MAX_DEFLATE_RATIO = 1032;      // zlib cannot expand one compressed byte further
constexpr size_t TAR_BLOCK_SIZE = 512;
constexpr size_t TAR_LONG_NAME_MAX = 4096;        // GNU long names and pax paths longer than this are refused
constexpr size_t TAR_PAX_HEADER_MAX = 64 * 1024;  // largest pax extended header read
constexpr int TAR_MAX_PATH_DEPTH = 256;           // members with more path components are not reachable

// Text files
constexpr uint64_t MAX_TEXT_DOCUMENT = 64ull * 1024 * 1024;  // a text reader loads at most this
constexpr size_t TEXT_WRITER_FORMAT_BUFFER = 4096;

}  // namespace Ferrox3D
