[playlist]
NumberOfEntries=3
File1=http://icecast.radio.example:8000/live.mp3
Title1=Radio Exemple (128k)
Length1=-1
File2=https://backup.radio.example/live.aac
Title2=Radio Exemple (secours)
Length2=-1
Version=2
