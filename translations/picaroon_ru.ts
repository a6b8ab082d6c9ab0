<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Command</name>
    <message>
        <source>unexpected argument %1</source>
        <translation>лишний аргумент %1</translation>
    </message>
    <message>
        <source>%1 in %2: %3</source>
        <translation>%1 в %2: %3</translation>
    </message>
    <message>
        <source>Usage: %1

%2

%3%4</source>
        <translation>Использование: %1

%2

%3%4</translation>
    </message>
</context>
<context>
    <name>CommandRegistry</name>
    <message>
        <source>unknown command</source>
        <translation>неизвестная команда</translation>
    </message>
    <message>
        <source>The folder that holds img/, url.txt and base_url.txt.</source>
        <translation>Каталог, в котором лежат img/, url.txt и base_url.txt.</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Показывает эту справку.</translation>
    </message>
    <message>
        <source>usage: %1   (the window)
</source>
        <translation>использование: %1   (окно)
</translation>
    </message>
    <message>
        <source>picaroon --help and picaroon COMMAND --help tell more.
</source>
        <translation>Подробнее: picaroon --help и picaroon КОМАНДА --help.
</translation>
    </message>
    <message>
        <source>
Settings: %1 (picaroon(1) lists its keys).
</source>
        <translation>
Настройки: %1 (ключи описаны в picaroon(1)).
</translation>
    </message>
    <message>
        <source>Usage: %1
       picaroon COMMAND [options]

Uploads the JPEG pictures of the image folder to the blogging service&apos;s photo
library. Without a command it opens the window.

</source>
        <translation>Использование: %1
       picaroon КОМАНДА [параметры]

Закачивает JPEG-картинки из каталога изображений в фотоальбом блога.
Без команды открывает окно.

</translation>
    </message>
    <message>
        <source>
Commands:
</source>
        <translation>
Команды:
</translation>
    </message>
    <message>
        <source>
picaroon COMMAND --help tells a command&apos;s options.</source>
        <translation>
Параметры команды: picaroon КОМАНДА --help.</translation>
    </message>
</context>
<context>
    <name>CopyLeftovers</name>
    <message>
        <source>Cannot read the folder %1: %2</source>
        <translation>Не удалось прочитать каталог %1: %2</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <translation>Не удалось удалить %1: %2</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show the window</source>
        <translation>Показать окно</translation>
    </message>
</context>
<context>
    <name>ExifBlock</name>
    <message>
        <source>its EXIF block cannot be read (%1)</source>
        <translation>её блок EXIF не читается (%1)</translation>
    </message>
    <message>
        <source>its EXIF block cannot be written again (%1)</source>
        <translation>её блок EXIF не удаётся записать заново (%1)</translation>
    </message>
    <message>
        <source>its EXIF block cannot be written again in one segment</source>
        <translation>её блок EXIF не помещается при записи в один сегмент</translation>
    </message>
</context>
<context>
    <name>ExtractLinksCommand</name>
    <message>
        <source>Cannot read standard input: %1</source>
        <translation>Не удалось прочитать стандартный ввод: %1</translation>
    </message>
    <message>
        <source>The page on standard input is larger than %1 MiB: is it a page?</source>
        <translation>Страница на стандартном вводе больше %1 МиБ: точно ли это страница?</translation>
    </message>
    <message numerus="yes">
        <source>%n address(es) appended to %1</source>
        <translation>
            <numerusform>%n адрес дописан в %1</numerusform>
            <numerusform>%n адреса дописаны в %1</numerusform>
            <numerusform>%n адресов дописано в %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Appends the account&apos;s picture addresses in the photo-library page markup (UTF-8, read from
standard input) to url.txt.</source>
        <translation>Дописывает в url.txt адреса картинок учётной записи из разметки страницы фотоальбома
(UTF-8, со стандартного ввода).</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>Cannot list the folder %1: %2</source>
        <translation>Не удалось прочитать список файлов каталога %1: %2</translation>
    </message>
</context>
<context>
    <name>FileListModel</name>
    <message>
        <source>the service did not take it</source>
        <translation>сервис не принял его</translation>
    </message>
    <message>
        <source>the service said: %1</source>
        <translation>сервис ответил: %1</translation>
    </message>
    <message>
        <source>Set aside: %1. “Return to the queue” sends it again.</source>
        <translation>Отложен: %1. «Вернуть в очередь» отправит его снова.</translation>
    </message>
</context>
<context>
    <name>FileOps</name>
    <message>
        <source>Cannot write %1</source>
        <translation>Не удалось записать %1</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удалось прочитать %1: %2</translation>
    </message>
    <message>
        <source>Stopped while copying %1</source>
        <translation>Остановлено при копировании %1</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>Не удалось прочитать %1</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation>Не удалось создать каталог %1: %2</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <translation>Не удалось удалить %1: %2</translation>
    </message>
    <message>
        <source>Cannot set %1 aside as %2: %3</source>
        <translation>Не удалось отложить %1 под именем %2: %3</translation>
    </message>
    <message>
        <source>Cannot put %1 back as %2: %3</source>
        <translation>Не удалось вернуть %1 под именем %2: %3</translation>
    </message>
    <message>
        <source>Cannot read the folder %1: %2</source>
        <translation>Не удалось прочитать каталог %1: %2</translation>
    </message>
    <message>
        <source>No file matching %1 in the folder %2</source>
        <translation>В каталоге %2 нет файлов %1</translation>
    </message>
    <message>
        <source>Cannot copy into the folder %1: no such folder</source>
        <translation>Не удалось скопировать в каталог %1: такого каталога нет</translation>
    </message>
    <message>
        <source>Cannot copy the files of %1 onto themselves: it is the folder they would be copied into</source>
        <translation>Файлы из %1 нельзя скопировать в самих себя: это тот каталог, куда их копируют</translation>
    </message>
</context>
<context>
    <name>FolderLock</name>
    <message>
        <source>Cannot lock the image folder with %1: %2</source>
        <translation>Не удалось занять каталог изображений через %1: %2</translation>
    </message>
    <message>
        <source>The image folder %1 is in use by %2; try again when it has ended</source>
        <translation>Каталог изображений %1 занят: %2; попробуйте снова, когда работа закончится</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не удалось записать %1: %2</translation>
    </message>
    <message>
        <source>another run</source>
        <translation>другая закачка</translation>
    </message>
    <message>
        <source>the window</source>
        <translation>окно</translation>
    </message>
    <message>
        <source>%1 (process %2)</source>
        <translation>%1 (процесс %2)</translation>
    </message>
</context>
<context>
    <name>HomeLocation</name>
    <message>
        <source>%1 is not an absolute path (%2): it is ignored, as the XDG rules say</source>
        <translation>%1 — не абсолютный путь (%2): по правилам XDG он не учитывается</translation>
    </message>
    <message>
        <source>HOME is not set</source>
        <translation>HOME не задан</translation>
    </message>
    <message>
        <source>HOME is not an absolute path (%1)</source>
        <translation>HOME — не абсолютный путь (%1)</translation>
    </message>
    <message>
        <source>%1: the home folder of the password database, %2, is used</source>
        <translation>%1: взят домашний каталог из базы пользователей, %2</translation>
    </message>
    <message>
        <source>HOME is not set, and the password database names no home folder for this user</source>
        <translation>HOME не задан, а в базе пользователей нет домашнего каталога для этого пользователя</translation>
    </message>
    <message>
        <source>%1: give the folder with --home DIR</source>
        <translation>%1: укажите каталог ключом --home КАТАЛОГ</translation>
    </message>
</context>
<context>
    <name>HostAddress</name>
    <message>
        <source>no host name given</source>
        <translation>не указано имя хоста</translation>
    </message>
    <message>
        <source>the host name is longer than %1 characters</source>
        <translation>имя хоста длиннее %1 знаков</translation>
    </message>
    <message>
        <source>“%1” is not an IPv4 address</source>
        <translation>«%1» — не адрес IPv4</translation>
    </message>
    <message>
        <source>the host name “%1” has an empty part between dots</source>
        <translation>в имени хоста «%1» пустая часть между точками</translation>
    </message>
    <message>
        <source>the host name “%1” may hold only Latin letters, digits, hyphens and dots</source>
        <translation>в имени хоста «%1» допустимы только латинские буквы, цифры, дефис и точка</translation>
    </message>
    <message>
        <source>a part of the host name is longer than %1 characters</source>
        <translation>часть имени хоста длиннее %1 знаков</translation>
    </message>
    <message>
        <source>the host name part “%1” begins or ends with a hyphen</source>
        <translation>часть имени хоста «%1» начинается или кончается дефисом</translation>
    </message>
    <message>
        <source>a host address cannot hold spaces, line breaks or control characters</source>
        <translation>в адресе хоста не может быть пробелов, переводов строки и управляющих знаков</translation>
    </message>
    <message>
        <source>only the host name and port are wanted, without “http://” and a path</source>
        <translation>нужно только имя хоста и порт, без «http://» и пути</translation>
    </message>
    <message>
        <source>the IPv6 address has no closing bracket “]”</source>
        <translation>после адреса IPv6 нет закрывающей скобки «]»</translation>
    </message>
    <message>
        <source>only “:” and a port may follow “]”</source>
        <translation>после «]» может стоять только «:» и порт</translation>
    </message>
    <message>
        <source>“%1” is not an IPv6 address</source>
        <translation>«%1» — не адрес IPv6</translation>
    </message>
    <message>
        <source>only a network interface&apos;s name (up to %1 Latin letters, digits, “-”, “_” and “.”) may follow “%” in an IPv6 address</source>
        <translation>после «%» в адресе IPv6 может стоять только имя сетевого интерфейса (до %1 латинских букв, цифр, «-», «_» и «.»)</translation>
    </message>
    <message>
        <source>an IPv6 address is written in square brackets: [%1]</source>
        <translation>адрес IPv6 пишется в квадратных скобках: [%1]</translation>
    </message>
    <message>
        <source>a host name without a port is wanted here</source>
        <translation>здесь нужно имя хоста без порта</translation>
    </message>
    <message>
        <source>the port is a number from 1 to 65535, not “%1”</source>
        <translation>порт — число от 1 до 65535, а не «%1»</translation>
    </message>
</context>
<context>
    <name>ImageImport</name>
    <message numerus="yes">
        <source> (the %n picture(s) copied before it stay in the image folder)</source>
        <translation>
            <numerusform> (%n картинка, скопированная до неё, остаётся в каталоге изображений)</numerusform>
            <numerusform> (%n картинки, скопированные до неё, остаются в каталоге изображений)</numerusform>
            <numerusform> (%n картинок, скопированных до неё, остаются в каталоге изображений)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportCommand</name>
    <message>
        <source>The folder whose pictures are copied.</source>
        <translation>Каталог, картинки из которого копируются.</translation>
    </message>
    <message>
        <source>FOLDER is required</source>
        <translation>нужно указать FOLDER</translation>
    </message>
    <message>
        <source>Copies the *.jpg and *.jpeg pictures of FOLDER into the image folder; a queued picture
is never replaced.</source>
        <translation>Копирует картинки *.jpg и *.jpeg из FOLDER в каталог изображений; картинка в очереди
никогда не заменяется.</translation>
    </message>
</context>
<context>
    <name>LocationRemoval</name>
    <message>
        <source>%1, so its location cannot be removed</source>
        <translation>%1, поэтому место съёмки из неё не убрать</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>The image folder %1 cannot be used: %2</source>
        <translation>Папка изображений %1 недоступна: %2</translation>
    </message>
    <message>
        <source>%1 was passed over and stays in the image folder: %2</source>
        <translation>%1 пропущена и остаётся в каталоге изображений: %2</translation>
    </message>
</context>
<context>
    <name>MainControls</name>
    <message>
        <source>Login:</source>
        <translation>Логин:</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Логин</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Пароль:</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Coding by</source>
        <translation>Авторы</translation>
    </message>
    <message>
        <source>Parse clipboard</source>
        <translation>Разобрать буфер обмена</translation>
    </message>
    <message>
        <source>Parse file</source>
        <translation>Разобрать файл</translation>
    </message>
    <message>
        <source>Pictures to upload</source>
        <translation>Изображения для закачки</translation>
    </message>
    <message>
        <source>Return to the queue</source>
        <translation>Вернуть в очередь</translation>
    </message>
    <message>
        <source>Return the chosen to the queue</source>
        <translation>Вернуть в очередь выбранные</translation>
    </message>
    <message>
        <source>Return all to the queue</source>
        <translation>Вернуть в очередь все</translation>
    </message>
    <message>
        <source>Return the chosen set-aside pictures to the queue</source>
        <translation>Вернуть выбранные отложенные картинки в очередь</translation>
    </message>
    <message>
        <source>Return every set-aside picture to the queue</source>
        <translation>Вернуть все отложенные картинки в очередь</translation>
    </message>
</context>
<context>
    <name>MakePostsCommand</name>
    <message numerus="yes">
        <source>%n record(s) appended to %1</source>
        <translation>
            <numerusform>%n запись дописана в %1</numerusform>
            <numerusform>%n записи дописаны в %1</numerusform>
            <numerusform>%n записей дописано в %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Appends a post record for every line of url.txt to base_url.txt.</source>
        <translation>Дописывает в base_url.txt запись для поста по каждой строке url.txt.</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>An upload is running. Stop it and close the window?</source>
        <translation>Идёт закачка. Остановить её и закрыть окно?</translation>
    </message>
    <message>
        <source>The picture being sent stays in the image folder and goes with the next run.</source>
        <translation>Картинка, которая сейчас отправляется, останется в каталоге изображений и уйдёт при следующей закачке.</translation>
    </message>
    <message>
        <source>Stop and close</source>
        <translation>Остановить и закрыть</translation>
    </message>
    <message>
        <source>Keep uploading</source>
        <translation>Продолжить закачку</translation>
    </message>
</context>
<context>
    <name>PasswordPrompt</name>
    <message>
        <source>Cannot read the terminal&apos;s settings: %1</source>
        <translation>Не удалось прочитать настройки терминала: %1</translation>
    </message>
    <message>
        <source>Cannot turn off the terminal&apos;s echo: %1</source>
        <translation>Не удалось выключить эхо терминала: %1</translation>
    </message>
    <message>
        <source>Password: </source>
        <translation>Пароль: </translation>
    </message>
    <message>
        <source>Cannot write the prompt to standard error: %1</source>
        <translation>Не удалось вывести приглашение в стандартный поток ошибок: %1</translation>
    </message>
    <message>
        <source>Cannot read the password from standard input: %1</source>
        <translation>Не удалось прочитать пароль со стандартного ввода: %1</translation>
    </message>
    <message>
        <source>The password on standard input is longer than %1 bytes</source>
        <translation>Пароль на стандартном вводе длиннее %1 байт</translation>
    </message>
    <message>
        <source>The terminal closed before a password was typed</source>
        <translation>Терминал закрылся раньше, чем был введён пароль</translation>
    </message>
</context>
<context>
    <name>PicturePreparation</name>
    <message>
        <source>location removed</source>
        <translation>место съёмки убрано</translation>
    </message>
    <message>
        <source>shrunk %1</source>
        <translation>уменьшена %1</translation>
    </message>
    <message>
        <source>location removed, shrunk %1</source>
        <translation>место съёмки убрано, уменьшена %1</translation>
    </message>
</context>
<context>
    <name>PictureRequest</name>
    <message>
        <source>it is larger than %1 MiB (%2 bytes)</source>
        <translation>она больше %1 МиБ (%2 байт)</translation>
    </message>
    <message>
        <source>the picture is not open</source>
        <translation>картинка не открыта</translation>
    </message>
</context>
<context>
    <name>PictureShrink</name>
    <message>
        <source>it is not a JPEG that can be read (%1)</source>
        <translation>это не читаемый JPEG (%1)</translation>
    </message>
    <message>
        <source>it would take more than %1 MiB decoded (%2×%3 pixels)</source>
        <translation>в раскрытом виде она заняла бы больше %1 МиБ (%2×%3 пикселей)</translation>
    </message>
    <message>
        <source>it cannot be decoded (%1)</source>
        <translation>её не удаётся раскодировать (%1)</translation>
    </message>
    <message>
        <source>it cannot be encoded again (%1)</source>
        <translation>её не удаётся закодировать заново (%1)</translation>
    </message>
</context>
<context>
    <name>PlainFile</name>
    <message>
        <source>No such file or directory</source>
        <translation>Нет такого файла или каталога</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Отказано в доступе</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Операция не позволена</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>На устройстве не осталось свободного места</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Превышена дисковая квота</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Файловая система доступна только для чтения</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Ошибка ввода-вывода</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Это каталог</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Это не каталог</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>Файл существует</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>Слишком длинное имя файла</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Слишком много уровней символьных ссылок</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Слишком много открытых файлов</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Устройство или ресурс занято</translation>
    </message>
    <message>
        <source>Invalid cross-device link</source>
        <translation>Неверная ссылка между устройствами</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>Файл слишком велик</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
</context>
<context>
    <name>PostMarkup</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удалось прочитать %1: %2</translation>
    </message>
    <message>
        <source>Cannot open %1 for reading: %2</source>
        <translation>Не удалось открыть %1 для чтения: %2</translation>
    </message>
</context>
<context>
    <name>ProgramSettings</name>
    <message>
        <source>it is no settings file</source>
        <translation>это не файл настроек</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удалось прочитать %1: %2</translation>
    </message>
    <message>
        <source>Cannot save the settings to %1: %2</source>
        <translation>Не удалось сохранить настройки в %1: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: no working copy can be made in %2: %3</source>
        <translation>Не удалось прочитать %1: в %2 нельзя сделать рабочую копию: %3</translation>
    </message>
    <message>
        <source>Cannot read %1: it is no settings file</source>
        <translation>Не удалось прочитать %1: это не файл настроек</translation>
    </message>
    <message>
        <source>%1 in %2: %3</source>
        <translation>%1 в %2: %3</translation>
    </message>
    <message>
        <source>Cannot save the settings: %1</source>
        <translation>Не удалось сохранить настройки: %1</translation>
    </message>
    <message>
        <source>Cannot save the settings to %1: its working copy in %2 cannot be written</source>
        <translation>Не удалось сохранить настройки в %1: рабочую копию в %2 нельзя записать</translation>
    </message>
    <message>
        <source>No upload server is set: give it in the settings dialog (Ctrl+,), in the file %1 (key uploadHost in the section [service]) or with --host.</source>
        <translation>Сервер загрузки не задан: укажите его в окне настроек (Ctrl+,), в файле %1 (ключ uploadHost в разделе [service]) или ключом --host.</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Options:</source>
        <translation>Параметры:</translation>
    </message>
</context>
<context>
    <name>RequestBuilder</name>
    <message>
        <source>the file ended early; it changed while being read</source>
        <translation>файл кончился раньше времени: он изменился во время чтения</translation>
    </message>
    <message>
        <source>Overflow: the password is longer than %1 characters</source>
        <translation>Переполнение: пароль длиннее %1 знаков</translation>
    </message>
    <message>
        <source>the picture is too large to send (%1 bytes)</source>
        <translation>картинка слишком велика для отправки (%1 байт)</translation>
    </message>
</context>
<context>
    <name>RequeueCommand</name>
    <message>
        <source>Returned to the queue: %1</source>
        <translation>Возвращено в очередь: %1</translation>
    </message>
    <message>
        <source>Returns every set-aside picture to the image folder&apos;s queue.</source>
        <translation>Возвращает все отложенные картинки в очередь каталога изображений.</translation>
    </message>
</context>
<context>
    <name>RunPace</name>
    <message>
        <source>%1 MB/s</source>
        <translation>%1 МБ/с</translation>
    </message>
    <message>
        <source>%1 KB/s</source>
        <translation>%1 КБ/с</translation>
    </message>
    <message>
        <source>%1 s left</source>
        <translation>ещё %1 с</translation>
    </message>
    <message>
        <source>%1 min left</source>
        <translation>ещё %1 мин</translation>
    </message>
    <message>
        <source>%1 h %2 min left</source>
        <translation>ещё %1 ч %2 мин</translation>
    </message>
</context>
<context>
    <name>RunTitle</name>
    <message>
        <source>%1% · %2 of %3</source>
        <translation>%1% · %2 из %3</translation>
    </message>
</context>
<context>
    <name>ServiceOptions</name>
    <message>
        <source>The upload host, for this run.</source>
        <translation>Сервер загрузки, для этой закачки.</translation>
    </message>
    <message>
        <source>The host that serves the pictures, for this run.</source>
        <translation>Сервер, который раздаёт картинки, для этой закачки.</translation>
    </message>
    <message>
        <source>The account number whose pictures the link tools pick out, for this run.</source>
        <translation>Номер учётной записи, чьи картинки выбирают инструменты ссылок, для этой закачки.</translation>
    </message>
    <message>
        <source>Seconds without a byte moving before a run gives up (0: wait for ever), for this run.</source>
        <translation>Сколько секунд без движения данных ждать, прежде чем прервать закачку (0 — ждать без конца), для этой закачки.</translation>
    </message>
    <message>
        <source>Seconds a run waits out a network that is down, trying the same picture again (0: the first error ends the run), for this run.</source>
        <translation>Сколько секунд пережидать пропавшую связь, повторяя ту же картинку (0 — первая ошибка прерывает закачку), для этой закачки.</translation>
    </message>
    <message>
        <source>Sends the pictures with the place they were taken at, for this run.</source>
        <translation>Отправляет картинки вместе с местом съёмки, для этой закачки.</translation>
    </message>
    <message>
        <source>Shrinks a picture whose longer side is larger to this many pixels (0: never), for this run.</source>
        <translation>Уменьшает картинку, чья длинная сторона больше, до стольких пикселей (0 — никогда), для этой закачки.</translation>
    </message>
    <message>
        <source>The JPEG quality of a shrunk picture, 1 to 100, for this run.</source>
        <translation>Качество JPEG уменьшенной картинки, от 1 до 100, для этой закачки.</translation>
    </message>
    <message>
        <source>Pictures sent at once, each on a connection of its own, 1 to 8, for this run.</source>
        <translation>Сколько картинок отправлять разом, каждую по своему соединению, от 1 до 8, для этого запуска.</translation>
    </message>
</context>
<context>
    <name>SetAsideQueue</name>
    <message>
        <source>Cannot list the folder %1: %2</source>
        <translation>Не удалось прочитать список файлов каталога %1: %2</translation>
    </message>
    <message>
        <source>Cannot return %1 to the queue as %2: %3</source>
        <translation>Не удалось вернуть %1 в очередь под именем %2: %3</translation>
    </message>
</context>
<context>
    <name>SettingTable</name>
    <message>
        <source>the account number is a whole number above zero, digits only, not “%1”</source>
        <translation>номер учётной записи — целое число больше нуля, одни цифры, а не «%1»</translation>
    </message>
    <message>
        <source>the account number is longer than %1 digits</source>
        <translation>номер учётной записи длиннее %1 цифр</translation>
    </message>
    <message>
        <source>%1 is a number of seconds from 0 to %2 (0: %3), not “%4”</source>
        <translation>%1 — число секунд от 0 до %2 (0 — %3), а не «%4»</translation>
    </message>
    <message>
        <source>the timeout</source>
        <translation>тайм-аут</translation>
    </message>
    <message>
        <source>wait without end</source>
        <translation>ждать без конца</translation>
    </message>
    <message>
        <source>the retry time</source>
        <translation>время повторов</translation>
    </message>
    <message>
        <source>no retries</source>
        <translation>не повторять</translation>
    </message>
    <message>
        <source>“true” or “false”, not “%1”</source>
        <translation>«true» или «false», а не «%1»</translation>
    </message>
    <message>
        <source>%1 is a whole number from %2 to %3, not “%4”</source>
        <translation>%1 — целое число от %2 до %3, а не «%4»</translation>
    </message>
    <message>
        <source>the longest side in pixels</source>
        <translation>наибольшая сторона в пикселях</translation>
    </message>
    <message>
        <source>the JPEG quality</source>
        <translation>качество JPEG</translation>
    </message>
    <message>
        <source>the pictures sent at once</source>
        <translation>число картинок, отправляемых разом</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Upload server</source>
        <translation>Сервер загрузки</translation>
    </message>
    <message>
        <source>Picture server</source>
        <translation>Сервер изображений</translation>
    </message>
    <message>
        <source>Account number</source>
        <translation>Номер учётной записи</translation>
    </message>
    <message>
        <source>Timeout, seconds</source>
        <translation>Тайм-аут, секунд</translation>
    </message>
    <message>
        <source>Retry without a network, seconds</source>
        <translation>Повторять без связи, секунд</translation>
    </message>
    <message>
        <source>host[:port]</source>
        <translation>хост[:порт]</translation>
    </message>
    <message>
        <source>number</source>
        <translation>число</translation>
    </message>
    <message>
        <source>0: wait without end</source>
        <translation>0 — ждать без конца</translation>
    </message>
    <message>
        <source>0: no retries</source>
        <translation>0 — не повторять</translation>
    </message>
    <message>
        <source>not set</source>
        <translation>не задан</translation>
    </message>
    <message>
        <source>An empty field takes the default.
Settings file: %1</source>
        <translation>Пустое поле — значение по умолчанию.
Файл настроек: %1</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Only the server&apos;s name was kept from the address “%1”</source>
        <translation>Оставлено только имя сервера из адреса «%1»</translation>
    </message>
    <message>
        <source>Type the upload server, for example upload.example.org</source>
        <translation>Введите сервер загрузки, например upload.example.org</translation>
    </message>
    <message>
        <source>Keep where each photo was taken (GPS) in the pictures sent</source>
        <translation>Оставлять в отправляемых картинках место съёмки (GPS)</translation>
    </message>
    <message>
        <source>Off by default: a blog is public, and a photo&apos;s location may be a home.</source>
        <translation>По умолчанию выключено: блог открыт всем, а место съёмки может оказаться домом.</translation>
    </message>
    <message>
        <source>Shrink to the longest side, pixels</source>
        <translation>Уменьшать до длинной стороны, пикселей</translation>
    </message>
    <message>
        <source>JPEG quality of a shrunk picture</source>
        <translation>Качество JPEG уменьшенной картинки</translation>
    </message>
    <message>
        <source>0: never</source>
        <translation>0 — не уменьшать</translation>
    </message>
    <message>
        <source>1 to 100</source>
        <translation>от 1 до 100</translation>
    </message>
    <message>
        <source>Pictures sent at once</source>
        <translation>Картинок отправлять разом</translation>
    </message>
    <message>
        <source>1 to 8</source>
        <translation>от 1 до 8</translation>
    </message>
</context>
<context>
    <name>SleepInhibitor</name>
    <message>
        <source>Uploading pictures</source>
        <translation>Закачка картинок</translation>
    </message>
</context>
<context>
    <name>SocketErrorMeaning</name>
    <message>
        <source>the server refused the connection</source>
        <translation>сервер отказал в соединении</translation>
    </message>
    <message>
        <source>the server broke the connection off</source>
        <translation>сервер разорвал соединение</translation>
    </message>
    <message>
        <source>the server was not found: check its name and the network</source>
        <translation>сервер не найден: проверьте имя сервера и связь</translation>
    </message>
    <message>
        <source>no access to the network</source>
        <translation>нет доступа к сети</translation>
    </message>
    <message>
        <source>the system had no memory left for the connection</source>
        <translation>системе не хватило памяти для соединения</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>сервер не ответил вовремя</translation>
    </message>
    <message>
        <source>the network is unreachable</source>
        <translation>сеть недоступна</translation>
    </message>
    <message>
        <source>the address is already in use</source>
        <translation>адрес уже занят</translation>
    </message>
    <message>
        <source>the address is not available</source>
        <translation>адрес недоступен</translation>
    </message>
    <message>
        <source>the connection was lost</source>
        <translation>соединение прервано</translation>
    </message>
</context>
<context>
    <name>StandardOutput</name>
    <message>
        <source>%1: Cannot write standard output: %2</source>
        <translation>%1: не удалось записать в стандартный вывод: %2</translation>
    </message>
</context>
<context>
    <name>StatusLineAccessible</name>
    <message>
        <source>Status: %1</source>
        <translation>Состояние: %1</translation>
    </message>
</context>
<context>
    <name>TextFileAppender</name>
    <message>
        <source>Cannot append to %1: %2</source>
        <translation>Не удалось дописать в %1: %2</translation>
    </message>
    <message>
        <source>Cannot open %1 for appending: %2</source>
        <translation>Не удалось открыть %1 для дописывания: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удалось прочитать %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не удалось записать %1: %2</translation>
    </message>
    <message>
        <source>Cannot close %1: %2</source>
        <translation>Не удалось закрыть %1: %2</translation>
    </message>
    <message>
        <source>%1 could not be removed again: %2</source>
        <translation>не удалось снова удалить %1: %2</translation>
    </message>
    <message>
        <source>%1 could not be cut back to its %2 bytes: %3</source>
        <translation>не удалось вернуть %1 к прежним %2 байтам: %3</translation>
    </message>
    <message>
        <source>Stopped: %1 is left as it was</source>
        <translation>Остановлено: %1 оставлен как был</translation>
    </message>
    <message>
        <source>Stopped; %1</source>
        <translation>Остановлено; %1</translation>
    </message>
</context>
<context>
    <name>UploadCommand</name>
    <message>
        <source>The member&apos;s login (default: the last one typed in the window).</source>
        <translation>Логин участника (по умолчанию — последний введённый в окне).</translation>
    </message>
    <message>
        <source>--login is required: the window has kept no login</source>
        <translation>нужен --login: окно не сохранило логина</translation>
    </message>
    <message>
        <source>service: %1</source>
        <translation>сервис: %1</translation>
    </message>
    <message>
        <source>passed over %1 (it stays in the image folder): %2</source>
        <translation>пропущена %1 (она остаётся в каталоге изображений): %2</translation>
    </message>
    <message>
        <source>Uploads every picture of the image folder, one after another, and prints every status text.
The password comes from PICAROON_PASSWORD, else it is asked for when standard input is a
terminal, else it is the first line of standard input.</source>
        <translation>Закачивает все картинки каталога изображений одну за другой и печатает каждое сообщение о состоянии.
Пароль берётся из PICAROON_PASSWORD, иначе запрашивается, если стандартный ввод — терминал,
иначе это первая строка стандартного ввода.</translation>
    </message>
</context>
<context>
    <name>UploadCycle</name>
    <message>
        <source>the reply broke off; the picture may have arrived, so it is set aside, not sent again</source>
        <translation>ответ оборвался; картинка могла дойти, поэтому она отложена, а не отправлена снова</translation>
    </message>
    <message>
        <source>no reply came; the picture may have arrived, so it is set aside, not sent again</source>
        <translation>ответа не было; картинка могла дойти, поэтому она отложена, а не отправлена снова</translation>
    </message>
</context>
<context>
    <name>UploadLog</name>
    <message>
        <source>it is a symbolic link, which the log never follows</source>
        <translation>это символьная ссылка, а журнал по ссылкам не пишет</translation>
    </message>
    <message>
        <source>Cannot write the upload log %1: %2</source>
        <translation>Не удалось записать журнал закачки %1: %2</translation>
    </message>
</context>
<context>
    <name>WindowImport</name>
    <message>
        <source>Choose the folder with the pictures</source>
        <translation>Выберите папку с изображениями</translation>
    </message>
    <message>
        <source>The pictures are being copied already.</source>
        <translation>Картинки уже копируются.</translation>
    </message>
    <message>
        <source>An upload is running: pictures can be imported once it has ended.</source>
        <translation>Идёт закачка: картинки можно будет скопировать, когда она закончится.</translation>
    </message>
</context>
<context>
    <name>WindowSettings</name>
    <message>
        <source>Settings…</source>
        <translation>Настройки…</translation>
    </message>
    <message>
        <source>Cannot open the folder %1 in the file manager</source>
        <translation>Не удалось открыть каталог %1 в файловом менеджере</translation>
    </message>
</context>
<context>
    <name>picaroon</name>
    <message>
        <source>Shows the version.</source>
        <translation>Показывает версию.</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>неизвестная команда %1</translation>
    </message>
</context>
</TS>
