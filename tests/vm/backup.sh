#!/usr/bin/env bash
# On virtual cable 3 (with the window program's case and P1): a multisample of three files named
# by their notes into an empty sampler, a backup of it, its restore into an emptied sampler, and
# a second backup that holds the same samples.
CABLE=${CABLE:-3}
source "$(dirname "$0")/vm_lib.sh"

far_end_start --empty && multisample_backup_restore
finish
