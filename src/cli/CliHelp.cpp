#include "cli/CliHelp.h"

namespace lockvale {

const char* const kCliUsage =
    "usage: lockvale-cli encrypt|decrypt [OPTION...] [--] FILE...\n"
    "       lockvale-cli text encrypt|decrypt [--key-bits N] [--key-file KEYFILE]\n"
    "       lockvale-cli --help | --version\n";

const char* const kCliHelpBody =
    "\n"
    "encrypt writes each FILE to FILE.encr; decrypt writes each FILE to its name cut\n"
    "before its last \".encr\". text reads standard input and prints the result.\n"
    "\n"
    "Options:\n"
    "  -o, --output PATH    write to PATH instead (a single FILE only)\n"
    "  -r, --recursive      take the files in each folder given and its subfolders;\n"
    "                       when decrypting, only names containing \".encr\"\n"
    "      --key-bits N     key size: 128 (the default), 192 or 256\n"
    "      --key-file KEYFILE  the key is the first line of KEYFILE\n"
    "      --overwrite      replace a destination that exists\n"
    "      --delete-source  delete each source once its result is complete\n"
    "  -q, --quiet          no progress line\n"
    "  -h, --help           show this help\n"
    "      --version        show the version\n"
    "      --               end of options\n"
    "\n"
    "The key comes from --key-file, else from LOCKVALE_KEY, else it is asked for on\n"
    "the terminal (twice when encrypting). Key and text become bytes through the\n"
    "system's code page, or the one LOCKVALE_CODEPAGE names.\n"
    "Encrypting refuses a key or text with characters that code page cannot hold.\n"
    "\n"
    "With --delete-source, after decrypting, the source goes to the trash, because a\n"
    "wrong key is not always detectable in this format. A source that stays is\n"
    "reported (\"source not deleted\") and counts as a failed file.\n"
    "\n"
    "Exit status:\n"
    "  0  every file done\n"
    "  1  at least one file failed: it could not be read or written, its destination\n"
    "     exists, the checks refused it, it has no \".encr\" in its name to decrypt\n"
    "     to, or it was a folder given without -r\n"
    "     (also when a folder could not be searched under -r)\n"
    "  2  usage error; nothing was done\n"
    "  3  every failure was ciphertext that did not decrypt (wrong key or key size,\n"
    "     a size that is not a multiple of 16, a bad length byte)\n";

}  // namespace lockvale
