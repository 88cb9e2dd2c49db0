// Checking a connecting client's password text against the server's stored password record.
#pragma once
#include <string>

// The record is "b" followed by a bcrypt string; false for any other record.
bool VerifyServerPassword(const std::string& text, const std::string& record);
