// The audio library's error codes. Every operation returns 0 (or a count,
// an id) for success and one of these negative codes for failure. The codes
// come in groups of one hundred: general, network, transport, URL, device
// and file, frame, library loading, variables.
#pragma once

enum : int {
    err_out_of_memory = -100,
    err_invalid_parameters = -101,
    err_internal = -102,
    err_timeout = -103,

    err_connect_timed_out = -200,
    err_connect_failed = -201,
    err_connection_refused = -202,
    err_accept_failed = -203,
    err_listen_failed = -204,
    err_socket_failed = -205,
    err_socket_closed = -206,
    err_bind_failed = -207,
    err_host_unknown = -208,
    err_invalid_http_reply = -209,
    err_http_error_reply = -210,
    err_http_error = -211,
    err_invalid_ftp_reply = -212,
    err_ftp_error_reply = -213,
    err_ftp_error = -214,

    err_pipe_failed = -300,
    err_fork_failed = -301,
    err_select_failed = -302,
    err_pipe_closed = -303,
    err_pipe_read_failed = -304,
    err_pipe_write_failed = -305,
    err_invalid_message = -306,
    err_queue_full = -307,
    err_post_failed = -308,

    err_unsupported_url_scheme = -400,
    err_invalid_url_syntax = -401,

    err_open_failed = -500,
    err_close_failed = -501,
    err_read_failed = -502,
    err_write_failed = -503,
    err_permission_denied = -504,
    err_no_such_device = -505,
    err_ioctl_failed = -506,
    err_module_not_found = -507,
    err_unsupported_input = -508,
    err_unsupported_output = -509,
    err_unsupported_format = -510,
    err_device_busy = -511,
    err_no_such_device_2 = -512,
    err_no_such_file = -513,
    err_input_end = -514,

    err_invalid_frame = -600,

    err_library_not_found = -700,
    err_symbol_not_found = -701,

    err_no_such_variable = -800,
    err_variable_type = -801,
};

// The error's text: "" for a code of a known group without a name of its own
// and for codes of 0 and above, "unknown error" for codes of other groups.
const char* error_name(int code);
