-- Reference definitions of the six tables the library reads and writes.
-- The library itself creates no table: a host creates these (or its own
-- compatible definitions) in "harbor.db" before using the access classes.
-- Text columns are TEXT, integer columns INTEGER, and no key column is
-- unique, so two rows may share one key.

CREATE TABLE IF NOT EXISTS tb_device_state (
    device_id    TEXT,
    media_id     TEXT,
    product_type TEXT,
    is_online    INTEGER
);

CREATE TABLE IF NOT EXISTS tb_device (
    dev_id           TEXT,
    dev_type         TEXT,
    dev_ip           TEXT,
    dev_port         INTEGER,
    plugin_name      TEXT,
    dev_login_user   TEXT,
    dev_login_pwd    TEXT,
    dev_status       TEXT,
    channel_num      INTEGER,
    channel_start_no INTEGER,
    equip_type       TEXT,
    update_flag      TEXT,
    main_rtsp_uri    TEXT,
    sub_rtsp_uri     TEXT,
    mac_addr         TEXT,
    dev_mfrs         TEXT,
    dev_inter        INTEGER,
    sip_server_ip    TEXT,
    sip_server_port  INTEGER,
    sip_account      TEXT,
    sip_pwd          TEXT,
    dev_edition      TEXT,
    is_use_nvr       INTEGER,
    nvr_ip           TEXT,
    nvr_port         INTEGER,
    nvr_user_name    TEXT,
    nvr_pwd          TEXT,
    ipc_channel      INTEGER,
    is_record        INTEGER,
    record_stream    INTEGER,
    snapshot_url     TEXT
);

CREATE TABLE IF NOT EXISTS tb_channel (
    channel_id       TEXT,
    dev_id           TEXT,
    equip_type       TEXT,
    channel_no       INTEGER,
    channel_name     TEXT,
    channel_status   TEXT,
    update_flag      TEXT,
    last_access_time INTEGER
);

CREATE TABLE IF NOT EXISTS tb_sip_device (
    sip_account       TEXT,
    sip_pwd           TEXT,
    sip_domain        TEXT,
    sip_dst_account_1 TEXT,
    sip_dst_account_2 TEXT,
    dev_id            TEXT
);

CREATE TABLE IF NOT EXISTS tb_mqtt_message (
    item_id   TEXT,
    cno       TEXT,
    code      INTEGER,
    url       TEXT,
    type      TEXT,
    arq_times INTEGER
);

CREATE TABLE IF NOT EXISTS tb_param (
    node_id            TEXT,
    node_type          TEXT,
    signal_server_ip   TEXT,
    signal_server_port INTEGER,
    peer_server_ip     TEXT,
    peer_server_port   INTEGER,
    stun_server_addr   TEXT,
    turn_server_addr   TEXT,
    turn_server_user   TEXT,
    turn_server_pwd    TEXT,
    zkds_comm_port     INTEGER,
    account_id         TEXT
);
