// Keeps the system library non-empty while its folders fill up.
