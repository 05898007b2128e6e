// Version of the text front end; the front-end units join this library as they
// are written.
extern const char* const vxn_frontend_version = "0.1";
