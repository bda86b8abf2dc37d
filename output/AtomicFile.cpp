#include "output/AtomicFile.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    // A NUL would cut the name short at the system's door and write another file.
    if (path.find('\0') != std::string::npos)
        return false;
    const fs::path target(path);
    if (target.filename().empty())
        return false;
    std::random_device rd;
    std::mt19937_64 gen((static_cast<unsigned long long>(rd()) << 32) ^ rd());
    fs::path temp;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = target;
        temp += ".tmp-" + std::to_string(gen() % 1000000000ULL);
        std::error_code ec;
        if (!fs::exists(temp, ec))
            break;
    }
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    if (path.find('\0') != std::string::npos)
        return false;
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    bytes = std::move(data);
    return true;
}
