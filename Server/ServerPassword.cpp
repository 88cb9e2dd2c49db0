// Password check of the handshake through libxcrypt's bcrypt.
#include "Server/ServerPassword.h"
#include <crypt.h>
#include <cstring>

bool VerifyServerPassword(const std::string& text, const std::string& record) {
    if (record.size() < 2 || record[0] != 'b')
        return false;
    const char* setting = record.c_str() + 1;
    crypt_data data;
    memset(&data, 0, sizeof(data));
    const char* hashed = crypt_rn(text.c_str(), setting, &data, sizeof(data));
    return hashed && hashed[0] != '*' && strcmp(hashed, setting) == 0;
}
