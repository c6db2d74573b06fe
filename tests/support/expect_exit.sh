# Sourced by the smoke tests.
#   expect_clean_exit <pid> <seconds>   succeeds when the process, a child of
#                                       this shell, ends within that time with
#                                       status 0; says why not otherwise
expect_clean_exit() {
    local pid="$1" tenths=$(($2 * 10)) status=0
    for _ in $(seq "$tenths"); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "FAIL: the program did not end when its window was closed"
        return 1
    fi
    wait "$pid" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "FAIL: the program ended with status $status"
        return 1
    fi
}
