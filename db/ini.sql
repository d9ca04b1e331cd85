-- Settings database (ini/INFO.MDB): one row per setting, and the print settings of each report.

CREATE TABLE S_CTRL (
  CTRL_CD     VARCHAR(100) NOT NULL,
  CTRL_VALUE  VARCHAR(1000),
  CTRL_TYPE   INT,
  PRIMARY KEY (CTRL_CD)
);

CREATE TABLE S_REP (
  REP_ID      INT NOT NULL,
  LEFT_MGN    DOUBLE,
  TOP_MGN     DOUBLE,
  PRINTER_NM  VARCHAR(255),
  PAPER_BIN   INT,
  PRIMARY KEY (REP_ID)
);
