-- Master database (data/MASTER.MDB by default, or a database on a server): growers, shops and
-- the shops' products. A row inserted without CHK_FLG is valid (-1), so it appears in every
-- pick list.

CREATE TABLE M_FMR (
  FMR_ID      INT NOT NULL,
  FMR_NM      VARCHAR(255),
  ADRS        VARCHAR(255),
  TEL_NO_L    VARCHAR(50),
  TEL_NO_S    VARCHAR(50),
  NOTES       VARCHAR(255),
  LOCATE      VARCHAR(255),
  BANK_NM     VARCHAR(255),
  BR_NM       VARCHAR(255),
  ACC_KBN     VARCHAR(50),
  ACC_NO      VARCHAR(50),
  ACC_NM      VARCHAR(255),
  FEE_1       DECIMAL(19,4),
  FEE_2       DECIMAL(19,4),
  CHK_FLG     INT DEFAULT -1,
  PRIMARY KEY (FMR_ID)
);

CREATE TABLE M_SHOP (
  SHOP_ID          INT NOT NULL,
  SHOP_NM          VARCHAR(255),
  OWNER_NM         VARCHAR(255),
  ADRS             VARCHAR(255),
  TEL              VARCHAR(50),
  FAX              VARCHAR(50),
  FEE_RT           DOUBLE,
  BCD_FMR_ID_STA   INT,
  BCD_FMR_ID_LEN   INT,
  BCD_PRD_ID_STA   INT,
  BCD_PRD_ID_LEN   INT,
  BCD_AMT_01_STA   INT,
  BCD_AMT_01_LEN   INT,
  BCD_AMT_10_STA   INT,
  BCD_AMT_10_LEN   INT,
  BCD_OPT_STA      INT,
  BCD_OPT_LEN      INT,
  FTP_SVR          VARCHAR(255),
  FTP_DIR          VARCHAR(255),
  FTP_USR          VARCHAR(255),
  FTP_PWD          VARCHAR(255),
  WWW_URL          VARCHAR(255),
  PTAG_LOGO        VARCHAR(255),
  NOTES            VARCHAR(255),
  UPLOAD_FILE_TYPE INT,
  ACC_ID           INT,
  CHK_FLG          INT DEFAULT -1,
  PRIMARY KEY (SHOP_ID)
);

-- A product number is unique over all shops.
CREATE TABLE M_PRD (
  SHOP_ID     INT,
  PRD_ID      INT NOT NULL,
  PRD_NM      VARCHAR(255),
  PRD_OMT     VARCHAR(255),
  PRD_YM      VARCHAR(255),
  M_CD        VARCHAR(50),
  S_CD        VARCHAR(50),
  PRD_CD      VARCHAR(50),
  PRD_KBN     INT,
  REP_KBN     INT,
  NOTES       VARCHAR(255),
  I_NM        VARCHAR(255),
  I_MTLS      VARCHAR(1000),
  I_WEIGHT    DOUBLE,
  I_UNIT      VARCHAR(50),
  I_PSRV      VARCHAR(255),
  I_TERM      VARCHAR(255),
  I_DEF_DAYS  INT,
  CHK_FLG     INT DEFAULT -1,
  IDATE       DATETIME,
  UDATE       DATETIME,
  LAST_TM     VARCHAR(64),
  HOLD_TM     VARCHAR(64),
  PRIMARY KEY (PRD_ID)
);
