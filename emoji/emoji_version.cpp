// Version of the emoji tables; the emoji units join this library as they are written.
extern const char* const vxn_emoji_version = "0.1";
