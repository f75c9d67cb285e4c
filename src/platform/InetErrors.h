#pragma once
// Windows error numbers that the internet layer reports through GetLastError.
#include <cstdint>

namespace quorrel {

constexpr uint32_t ERROR_SUCCESS = 0;
constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr uint32_t ERROR_ACCESS_DENIED = 5;
constexpr uint32_t ERROR_INVALID_HANDLE = 6;
constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr uint32_t ERROR_NO_MORE_FILES = 18;
constexpr uint32_t ERROR_WRITE_FAULT = 29;
constexpr uint32_t ERROR_READ_FAULT = 30;
constexpr uint32_t ERROR_FILE_EXISTS = 80;
constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr uint32_t ERROR_DISK_FULL = 112;
constexpr uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
constexpr uint32_t ERROR_INVALID_NAME = 123;

constexpr uint32_t ERROR_INTERNET_TIMEOUT = 12002;
constexpr uint32_t ERROR_INTERNET_EXTENDED_ERROR = 12003;
constexpr uint32_t ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr uint32_t ERROR_INTERNET_INVALID_URL = 12005;
constexpr uint32_t ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
constexpr uint32_t ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr uint32_t ERROR_INTERNET_INVALID_OPTION = 12009;
constexpr uint32_t ERROR_INTERNET_BAD_OPTION_LENGTH = 12010;
constexpr uint32_t ERROR_INTERNET_INCORRECT_USER_NAME = 12013;
constexpr uint32_t ERROR_INTERNET_INCORRECT_PASSWORD = 12014;
constexpr uint32_t ERROR_INTERNET_OPERATION_CANCELLED = 12017;
constexpr uint32_t ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr uint32_t ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr uint32_t ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr uint32_t ERROR_INTERNET_CONNECTION_RESET = 12031;
constexpr uint32_t ERROR_INTERNET_SEC_CERT_DATE_INVALID = 12037;
constexpr uint32_t ERROR_INTERNET_SEC_CERT_CN_INVALID = 12038;
constexpr uint32_t ERROR_INTERNET_INVALID_CA = 12045;
constexpr uint32_t ERROR_FTP_TRANSFER_IN_PROGRESS = 12110;
constexpr uint32_t ERROR_FTP_DROPPED = 12111;
constexpr uint32_t ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

}  // namespace quorrel
